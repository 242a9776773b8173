#include "uninstall_registration.h"

#include "bounded_text.h"
#include "package/package_rules.h"
#include "package/resource_loaders.h"
#include "setup_messages.h"

namespace {

const DWORD kCommandSize = 1024;

}  // namespace

bool RegisterUninstall(const char* folder)
{
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_ROOT_KEY, 0, KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY, &root) != ERROR_SUCCESS) {
        ReportFailure(IDS_UNINSTALL_INFO_FAILED, NULL);
        return false;
    }

    char title[SETUP_TITLE_SIZE];
    title[0] = 0;
    LoadResourceText(RT_SETUP_TITLE, ID_SETUP_TITLE, title, sizeof(title));

    // The program path is quoted so that a folder with blanks ("C:\Program Files\...")
    // starts the right program and leaves the title alone as the entry name.
    char command[kCommandSize];
    command[0] = 0;
    bool composed = AppendText(command, kCommandSize, "\"") && AppendText(command, kCommandSize, folder)
        && AppendText(command, kCommandSize, "\\Uninstall.exe\" ") && AppendText(command, kCommandSize, title);

    // An empty or malformed title would name the Uninstall root itself (or a key
    // elsewhere): never write there.
    HKEY entry;
    if (!composed || !IsValidPackageTitle(title) || RegCreateKeyA(root, title, &entry) != ERROR_SUCCESS) {
        RegCloseKey(root);
        ReportFailure(IDS_UNINSTALL_INFO_FAILED, NULL);
        return false;
    }

    RegSetValueExA(entry, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(title), TextLength(title) + 1);
    RegSetValueExA(entry, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), TextLength(command) + 1);
    RegCloseKey(entry);
    RegCloseKey(root);
    return true;
}
