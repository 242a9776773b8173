#include "installation.h"

#include "bounded_text.h"
#include "package/package_rules.h"
#include "package/resource_loaders.h"
#include "setup_messages.h"
#include "uninstall_registration.h"

namespace {

// Tests may build the sequence against another key (see tests/install).
#ifndef APP_MANAGER_KEY
#define APP_MANAGER_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE"
#endif
const char kAppManagerKey[] = APP_MANAGER_KEY;

// On 64-bit Windows each program sees its own registry view; the Application Manager
// may have registered itself in the other one.
#ifdef _WIN64
const REGSAM kOtherRegistryView = KEY_WOW64_32KEY;
#else
const REGSAM kOtherRegistryView = KEY_WOW64_64KEY;
#endif

enum AppManagerLookup { kFound, kNotFound, kUnusable };

// Reads the Application Manager's full path from its App Paths key in one registry
// view. The value is used as stored: its type is not examined and nothing is expanded.
AppManagerLookup ReadAppManagerPath(REGSAM view, char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppManagerKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return kNotFound;
    DWORD size = SETUP_PATH_SIZE;
    LONG result = RegQueryValueExA(key, NULL, NULL, NULL, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND)
        return kNotFound;
    if (result != ERROR_SUCCESS || size > SETUP_PATH_SIZE)
        return kUnusable;
    if (size > 0 && path[size - 1] == 0)
        return kFound;
    // Stored without its NUL: terminate it, if the buffer has room left for that.
    if (size == SETUP_PATH_SIZE)
        return kUnusable;
    path[size] = 0;
    return kFound;
}

bool LocateAppManager(char* path)
{
    AppManagerLookup lookup = ReadAppManagerPath(0, path);
    if (lookup == kNotFound)
        lookup = ReadAppManagerPath(kOtherRegistryView, path);
    return lookup == kFound;
}

// Cuts `path` after its last backslash; false when it has none.
bool CutAfterLastBackslash(char* path)
{
    char* last = NULL;
    for (char* p = path; *p; ++p)
        if (*p == '\\')
            last = p;
    if (!last)
        return false;
    last[1] = 0;
    return true;
}

}  // namespace

bool ExtractSetupFile(UINT id, const char* folder, bool* failed)
{
    *failed = false;
    DWORD size = 0;
    const BYTE* data = GetSetupFile(id, &size);
    if (!data)
        return false;

    char name[SETUP_PATH_SIZE];
    char path[SETUP_PATH_SIZE];
    path[0] = 0;
    // A name with a folder part or a drive would write outside the install folder.
    if (!LoadResourceText(RT_SETUP_FILE_NAME, id, name, sizeof(name)) || !IsPlainFileName(name)
        || !AppendText(path, sizeof(path), folder) || !AppendText(path, sizeof(path), "\\")
        || !AppendText(path, sizeof(path), name)) {
        *failed = true;
        return false;
    }

    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *failed = true;
        return false;
    }
    // One write straight from the image, the cabinet included.
    DWORD written = 0;
    BOOL wrote = WriteFile(file, data, size, &written, NULL);
    CloseHandle(file);
    if (!wrote || written != size) {
        *failed = true;
        return false;
    }
    return true;
}

bool RunInstallation()
{
    char appManager[SETUP_PATH_SIZE];
    char folder[SETUP_PATH_SIZE];
    if (!LocateAppManager(appManager) || !CopyText(folder, sizeof(folder), appManager) || !CutAfterLastBackslash(folder)) {
        ReportFailure(IDS_NO_ACTIVESYNC, NULL);
        return false;
    }

    // Without a proper title the install folder would be the Application Manager's
    // own folder, and its uninstaller would later wipe it.
    char title[SETUP_TITLE_SIZE];
    title[0] = 0;
    LoadResourceText(RT_SETUP_TITLE, ID_SETUP_TITLE, title, sizeof(title));
    if (!IsValidPackageTitle(title)) {
        ReportFailure(IDS_MISSING_INFORMATION, NULL);
        return false;
    }
    // The caption names as much of the folder as could be composed.
    if (!AppendText(folder, sizeof(folder), title)) {
        ReportFailure(IDS_CANNOT_CREATE_FOLDER, folder);
        return false;
    }

    // Only the last component is created: the Application Manager's folder must exist.
    if (!CreateDirectoryA(folder, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
        ReportFailure(IDS_CANNOT_CREATE_FOLDER, folder);
        return false;
    }

    bool failed = false;
    for (UINT id = 1; ExtractSetupFile(id, folder, &failed); ++id) {
    }
    if (failed) {
        ReportFailure(IDS_WRITE_FAILED, folder);
        return false;
    }

    // "<folder>\<descriptor name>", then the quoted program path in front of it.
    // Both are composed before the entry is recorded, so a failure leaves no entry.
    char descriptor[SETUP_PATH_SIZE];
    descriptor[0] = 0;
    bool composed = AppendText(descriptor, sizeof(descriptor), "\"") && AppendText(descriptor, sizeof(descriptor), folder)
        && AppendText(descriptor, sizeof(descriptor), "\\");
    if (composed) {
        DWORD used = TextLength(descriptor);
        composed = LoadResourceText(RT_SETUP_FILE_NAME, ID_FILE_DESCRIPTOR, descriptor + used, sizeof(descriptor) - used)
            && AppendText(descriptor, sizeof(descriptor), "\"");
    }
    char commandLine[SETUP_PATH_SIZE];
    commandLine[0] = 0;
    composed = composed && AppendText(commandLine, sizeof(commandLine), "\"")
        && AppendText(commandLine, sizeof(commandLine), appManager) && AppendText(commandLine, sizeof(commandLine), "\" ")
        && AppendText(commandLine, sizeof(commandLine), descriptor);
    if (!composed) {
        ReportFailure(IDS_MISSING_INFORMATION, NULL);
        return false;
    }

    bool registered = RegisterUninstall(folder);

    WinExec(commandLine, SW_SHOW);
    return registered;
}
