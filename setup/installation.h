// The installation sequence that runs once the wizard has been finished.
#ifndef INSTALLATION_H
#define INSTALLATION_H

#include <windows.h>

// Locates the Application Manager, creates the install folder beside it, writes the
// setup files, records the uninstall entry and starts the Application Manager with
// the descriptor. Each failure shows one message and ends the sequence (a failed
// registration still starts the Application Manager). True when nothing was reported.
bool RunInstallation();

// Writes setup file `id` into `folder`. False with `failed` clear when there is no
// such file (the end of the set); false with `failed` set when writing it failed.
bool ExtractSetupFile(UINT id, const char* folder, bool* failed);

#endif
