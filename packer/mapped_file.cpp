#include "mapped_file.h"

void InitMappedFile(MappedFile* mapped)
{
    mapped->file = INVALID_HANDLE_VALUE;
    mapped->mapping = NULL;
    mapped->view = NULL;
    mapped->size = 0;
}

bool MapInputFile(const char* path, MappedFile* mapped, DWORD* error)
{
    InitMappedFile(mapped);
    mapped->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (mapped->file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    DWORD high = 0;
    DWORD low = GetFileSize(mapped->file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        *error = GetLastError();
        UnmapInputFile(mapped);
        return false;
    }
    if (high != 0) {
        *error = ERROR_FILE_TOO_LARGE;
        UnmapInputFile(mapped);
        return false;
    }
    mapped->size = low;
    // An empty file cannot be mapped; it has no bytes to show anyway.
    if (low == 0)
        return true;
    mapped->mapping = CreateFileMappingA(mapped->file, NULL, PAGE_READONLY, 0, 0, NULL);
    if (mapped->mapping)
        mapped->view = static_cast<const BYTE*>(MapViewOfFile(mapped->mapping, FILE_MAP_READ, 0, 0, 0));
    if (!mapped->view) {
        *error = GetLastError();
        UnmapInputFile(mapped);
        return false;
    }
    return true;
}

void UnmapInputFile(MappedFile* mapped)
{
    if (mapped->view)
        UnmapViewOfFile(mapped->view);
    if (mapped->mapping)
        CloseHandle(mapped->mapping);
    if (mapped->file != INVALID_HANDLE_VALUE)
        CloseHandle(mapped->file);
    InitMappedFile(mapped);
}
