// Just enough of the PE format to look at a stub and to fix the code page of the
// package's resources after the platform's resource update has written them.
#ifndef PE_RESOURCES_H
#define PE_RESOURCES_H

#include <windows.h>

// The machine field of a PE image (IMAGE_FILE_MACHINE_I386 or _AMD64), 0 when
// `image` is not a PE image.
WORD ImageMachine(const BYTE* image, DWORD size);

// Calls `visit` for every data entry of the resource directory, with the type and
// name ids (-1 for a named one) and the entry's offset in `image`. False when the
// image or its resource directory is malformed.
typedef void (*ResourceVisitor)(int type, int name, int language, DWORD dataEntryOffset, void* context);
bool VisitResources(const BYTE* image, DWORD size, ResourceVisitor visit, void* context);

// True when the image carries a resource of a type from `firstType` to `lastType`.
bool HasResourceTypes(const BYTE* image, DWORD size, int firstType, int lastType);

// Sets the code page of every data entry of the types `firstType` to `lastType` in the
// file at `path`. False when the file cannot be opened, mapped or walked.
bool SetResourceCodePage(const char* path, int firstType, int lastType, DWORD codePage);

#endif
