// Reading the package and the string table from the program's own image.
#ifndef RESOURCE_LOADERS_H
#define RESOURCE_LOADERS_H

#include <windows.h>

#include "package_layout.h"

// Loads string-table entry `id` into a buffer of UI_STRING_SIZE bytes; always terminated.
char* LoadUiString(char* buffer, UINT id);

// Copies the text resource type/id with its NUL into `destination`. False when the
// resource does not exist or its text and NUL do not fit `capacity`: then nothing
// has been written.
BOOL LoadResourceText(UINT type, UINT id, char* destination, DWORD capacity);

// Address of page text `id` inside the image, or null when there is none (or it
// lacks its terminating NUL).
const char* GetSetupText(UINT id);

// Address and size of setup file `id` inside the image; null (size untouched)
// when there is none.
const BYTE* GetSetupFile(UINT id, DWORD* size);

#endif
