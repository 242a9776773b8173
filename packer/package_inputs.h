// Everything a package is made of, read and checked before anything is written.
#ifndef PACKAGE_INPUTS_H
#define PACKAGE_INPUTS_H

#include <windows.h>

#include "command_line.h"
#include "mapped_file.h"
#include "packer_limits.h"

struct PackageInputs {
    TargetArch arch;
    char title[SETUP_TITLE_SIZE];      // code page 1252
    char component[SETUP_PATH_SIZE];   // code page 1252
    char outputPath[MAX_PATH];         // ANSI code page, as the file functions take it
    char stubPath[MAX_PATH];           // empty: the stub this program carries
    MappedFile stub;                   // mapped only for stubPath
    char descriptionPath[MAX_PATH];
    char licensePath[MAX_PATH];
    MappedFile descriptionFile;
    MappedFile licenseFile;
    char cabinetPaths[kMaxCabinets][MAX_PATH];
    char cabinetNames[kMaxCabinets][SETUP_PATH_SIZE];  // code page 1252, as the package names them
    MappedFile cabinets[kMaxCabinets];
    int cabinetCount;
};

// The converted page texts and the generated descriptor.
struct PackageTexts {
    char description[kPageTextSize];
    DWORD descriptionLength;
    char license[kPageTextSize];
    DWORD licenseLength;
    char descriptor[kDescriptorSize];
    DWORD descriptorLength;
};

extern const char kDescriptorName[];
extern const char kUninstallerName[];

// Reads and checks every input named by `arguments`, converts the texts and composes
// the descriptor. False, after one message naming the problem, on the first fault.
// The input files stay mapped until ReleaseInputs.
bool PrepareInputs(const PackerArguments& arguments, PackageInputs* inputs, PackageTexts* texts);
void ReleaseInputs(PackageInputs* inputs);

#endif
