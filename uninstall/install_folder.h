// Whether the uninstaller's folder is the install folder recorded for it, so that its
// self-removal may delete every file there.
#ifndef INSTALL_FOLDER_H
#define INSTALL_FOLDER_H

#include <windows.h>

// Buffers for paths, as the platform gives them (at most 259 characters).
const DWORD kPathSize = 260;

// Copies the folder part of `programPath` (everything before its last backslash) into
// `folder`. False when the path has no backslash or the folder does not fit.
bool FolderOfPath(const char* programPath, char* folder, DWORD capacity, UINT codePage);

// True when `folder` is the root of a drive ("C:") or of a share ("\\server\share"),
// also behind the "\\?\" prefix.
bool IsRootFolder(const char* folder);

// True when the command `uninstallCommand` (an "UninstallString") starts the program
// `programPath`, quoted or not, compared without regard to case.
bool CommandStartsProgram(const char* uninstallCommand, const char* programPath, UINT codePage);

// Reads the "UninstallString" of the entry `entryName` and tells whether it names
// `programPath` and that program's folder is not a root. Must be asked before the
// entry is removed.
bool IsRecordedInstallFolder(const char* entryName, const char* programPath);

#endif
