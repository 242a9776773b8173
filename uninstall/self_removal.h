// The uninstaller's last step: a hidden batch script that deletes the uninstaller's
// program file once it has ended, then (when allowed) its folder, then itself.
#ifndef SELF_REMOVAL_H
#define SELF_REMOVAL_H

#include <windows.h>

// The script's file, in the root of the current drive. It also names itself in its
// last line, so that it deletes itself.
#define SELF_REMOVAL_SCRIPT "\\DelUS.bat"

// Room for the longest script: two program paths and two folders of up to 259
// characters each, every '%' doubled, and the fixed text.
const DWORD kScriptSize = 2200;

// Composes the script for the program file `programPath` into `script`. With
// `removeFolder` it also deletes every file of the program's folder and its
// sub-folders and removes the folder; without, only the program file and the script
// go. False, with no text, when the path has no folder or the text does not fit.
bool ComposeSelfRemovalScript(const char* programPath, bool removeFolder, UINT codePage, char* script, DWORD capacity);

// Writes the script for this program to SELF_REMOVAL_SCRIPT and starts it hidden,
// suspended, at idle priority, then lets it go. Returns once it runs or at the
// first failure; reports nothing.
void ScheduleSelfRemoval(bool removeFolder);

#endif
