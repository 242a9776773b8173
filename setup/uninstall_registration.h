// The uninstall entry through which the add/remove list shows the package and
// starts its uninstaller.
#ifndef UNINSTALL_REGISTRATION_H
#define UNINSTALL_REGISTRATION_H

// Uninstall root below HKEY_LOCAL_MACHINE; the uninstaller opens the same key.
#define UNINSTALL_ROOT_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"

// Records the entry named after the package title, starting `folder`\Uninstall.exe.
// Reports its own failure with a message and never stops the caller; false then.
bool RegisterUninstall(const char* folder);

#endif
