// The packer's command line, taken apart but not yet checked beyond its syntax.
#ifndef COMMAND_LINE_H
#define COMMAND_LINE_H

#include <windows.h>

#include "packer_limits.h"

enum TargetArch { kArchX86, kArchX64 };

// Pointers into the process's argument vector, which lives as long as the process.
struct PackerArguments {
    const wchar_t* title;
    const wchar_t* description;
    const wchar_t* license;
    const wchar_t* cabinets[kMaxCabinets];
    int cabinetCount;
    const wchar_t* component;  // null: the first cabinet's name without ".cab"
    TargetArch arch;
    const wchar_t* output;
    // Not shown in the usage: a setup program without a package to use instead of
    // the carried one. The tests pack with a stub that installs without the wizard.
    const wchar_t* stub;
    bool help;
};

// Takes the arguments apart. False, after a message on standard error, when they
// do not make one packer run.
bool ParseArguments(int argc, wchar_t** argv, PackerArguments* arguments);

void PrintUsage();

#endif
