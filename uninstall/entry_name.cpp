#include "entry_name.h"

namespace {

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlankOrControl(char c)
{
    unsigned char value = static_cast<unsigned char>(c);
    return value >= 1 && value <= 32;
}

}  // namespace

DWORD PathPrefixLength(const char* text, const char* path, UINT codePage)
{
    if (!text || !path || !path[0])
        return 0;
    DWORD i = 0;
    while (path[i]) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(path[i])) && path[i + 1]) {
            // a double-byte character must match byte for byte; its trail byte may
            // look like an ASCII letter
            if (text[i] != path[i] || text[i + 1] != path[i + 1])
                return 0;
            i += 2;
            continue;
        }
        if (FoldAscii(text[i]) != FoldAscii(path[i]))
            return 0;
        ++i;
    }
    return i;
}

const char* EntryNameFromCommandLine(const char* commandLine, const char* programPath, UINT codePage)
{
    if (!commandLine)
        return "";
    const char* p = commandLine;

    DWORD ownPath = PathPrefixLength(p, programPath, codePage);
    if (p[0] != '"' && ownPath > 0 && static_cast<unsigned char>(p[ownPath]) <= 32) {
        // an older entry recorded the path unquoted; its blanks belong to the name
        p += ownPath;
    } else if (*p == '"') {
        ++p;
        while (*p && *p != '"') {
            if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1])
                ++p;
            ++p;
        }
        if (*p == '"')
            ++p;
    } else {
        while (static_cast<unsigned char>(*p) > 32)
            ++p;
    }

    while (IsBlankOrControl(*p))
        ++p;
    return p;
}
