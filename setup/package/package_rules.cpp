#include "package_rules.h"

namespace {

bool IsDotName(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool IsForbiddenInFileName(unsigned char c)
{
    if (c < 32)
        return true;
    const char* forbidden = "\\/:*?\"<>|";
    for (const char* p = forbidden; *p; ++p)
        if (c == static_cast<unsigned char>(*p))
            return true;
    return false;
}

// The first rule that `name` breaks as a file name of at most `maxLength` characters;
// for a character fault, `position` receives its 0-based index.
TitleFault FileNameFault(const char* name, int maxLength, int* position)
{
    if (name[0] == 0)
        return kTitleEmpty;
    for (int length = 0; name[length]; ++length) {
        if (length >= maxLength)
            return kTitleTooLong;
        unsigned char c = static_cast<unsigned char>(name[length]);
        if (IsForbiddenInFileName(c)) {
            *position = length;
            return c == '\\' ? kTitleBackslash : kTitleForbiddenCharacter;
        }
    }
    return IsDotName(name) ? kTitleDotName : kTitleOk;
}

}  // namespace

TitleFault CheckPackageTitle(const char* title, int* position)
{
    // The uninstaller receives the title at the end of its command line, where
    // leading blanks are skipped.
    if (title[0] == ' ')
        return kTitleLeadingBlank;
    return FileNameFault(title, kMaxTitleLength, position);
}

bool IsValidPackageTitle(const char* title)
{
    int position = 0;
    return CheckPackageTitle(title, &position) == kTitleOk;
}

bool IsPlainFileName(const char* name)
{
    int position = 0;
    return FileNameFault(name, 259, &position) == kTitleOk;
}
