// The uninstaller's entry: removes the uninstall entry named on its command line,
// then hands its own removal to the self-removal script.
#ifndef UNINSTALL_MAIN_H
#define UNINSTALL_MAIN_H

#include <windows.h>

// Always returns 0; nothing is ever shown or reported.
int UninstallMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show);

#endif
