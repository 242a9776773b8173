// Input files are read through read-only file mappings: their bytes go to the
// resource update straight from the view, never through a buffer of ours.
#ifndef MAPPED_FILE_H
#define MAPPED_FILE_H

#include <windows.h>

struct MappedFile {
    HANDLE file;
    HANDLE mapping;
    const BYTE* view;  // null for an empty file
    DWORD size;
};

void InitMappedFile(MappedFile* mapped);

// Maps `path` for reading. False with `error` set (a GetLastError code) when the file
// cannot be opened or mapped, or is 4 GB or larger (ERROR_FILE_TOO_LARGE).
bool MapInputFile(const char* path, MappedFile* mapped, DWORD* error);

void UnmapInputFile(MappedFile* mapped);

#endif
