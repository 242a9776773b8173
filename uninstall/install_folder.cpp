#include "install_folder.h"

#include "bounded_text.h"
#include "entry_name.h"
#include "uninstall_registration.h"

namespace {

// An "UninstallString" longer than this is not one that the setup program wrote.
const DWORD kCommandSize = 1024;

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

DWORD CountBackslashes(const char* text)
{
    DWORD count = 0;
    for (; *text; ++text) {
        if (*text == '\\')
            ++count;
    }
    return count;
}

bool EndsWithBackslash(const char* text)
{
    DWORD length = TextLength(text);
    return length > 0 && text[length - 1] == '\\';
}

bool StartsWith(const char* text, const char* prefix)
{
    for (; *prefix; ++prefix, ++text) {
        if (*text != *prefix)
            return false;
    }
    return true;
}

}  // namespace

bool FolderOfPath(const char* programPath, char* folder, DWORD capacity, UINT codePage)
{
    // The trail byte of a double-byte character may have the value of a backslash.
    DWORD lastBackslash = 0;
    bool found = false;
    DWORD i = 0;
    while (programPath[i]) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(programPath[i])) && programPath[i + 1]) {
            i += 2;
            continue;
        }
        if (programPath[i] == '\\') {
            lastBackslash = i;
            found = true;
        }
        ++i;
    }
    if (!found || lastBackslash >= capacity)
        return false;
    for (DWORD j = 0; j < lastBackslash; ++j)
        folder[j] = programPath[j];
    folder[lastBackslash] = 0;
    return true;
}

bool IsRootFolder(const char* folder)
{
    const char* rest = folder;
    bool share = false;
    if (StartsWith(rest, "\\\\?\\UNC\\")) {
        rest += 8;
        share = true;
    } else if (StartsWith(rest, "\\\\?\\") || StartsWith(rest, "\\\\.\\")) {
        rest += 4;
    } else if (StartsWith(rest, "\\\\")) {
        rest += 2;
        share = true;
    }

    if (share)  // "server" or "server\share", nothing below
        return CountBackslashes(rest) <= 1 || (CountBackslashes(rest) == 2 && EndsWithBackslash(rest));
    if (!rest[0] || (rest[0] == '\\' && !rest[1]))
        return true;
    return IsDriveLetter(rest[0]) && rest[1] == ':' && (!rest[2] || (rest[2] == '\\' && !rest[3]));
}

bool CommandStartsProgram(const char* uninstallCommand, const char* programPath, UINT codePage)
{
    const char* command = uninstallCommand;
    bool quoted = command[0] == '"';
    if (quoted)
        ++command;
    DWORD length = PathPrefixLength(command, programPath, codePage);
    if (length == 0)
        return false;
    char next = command[length];
    if (quoted)
        return next == '"';
    return next == 0 || next == ' ' || next == '\t';
}

bool IsRecordedInstallFolder(const char* entryName, const char* programPath)
{
    if (!entryName || !entryName[0])
        return false;
    char folder[kPathSize];
    if (!FolderOfPath(programPath, folder, kPathSize, CP_ACP) || IsRootFolder(folder))
        return false;

    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_ROOT_KEY, 0, KEY_QUERY_VALUE, &root) != ERROR_SUCCESS)
        return false;
    HKEY entry;
    LONG opened = RegOpenKeyExA(root, entryName, 0, KEY_QUERY_VALUE, &entry);
    RegCloseKey(root);
    if (opened != ERROR_SUCCESS)
        return false;

    // One byte more than the data may take, so that a terminator always follows.
    char command[kCommandSize + 1];
    DWORD type = 0;
    DWORD size = kCommandSize;
    LONG read = RegQueryValueExA(entry, "UninstallString", NULL, &type, reinterpret_cast<BYTE*>(command), &size);
    RegCloseKey(entry);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > kCommandSize)
        return false;
    command[size] = 0;
    return CommandStartsProgram(command, programPath, CP_ACP);
}
