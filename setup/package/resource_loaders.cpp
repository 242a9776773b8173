#include "resource_loaders.h"

namespace {

// Data of resource type/id of our own image, or null.
const BYTE* FindResourceData(UINT type, UINT id, DWORD* size)
{
    HRSRC resource = FindResourceA(NULL, MAKEINTRESOURCEA(LOWORD(id)), MAKEINTRESOURCEA(LOWORD(type)));
    if (!resource)
        return NULL;
    HGLOBAL loaded = LoadResource(NULL, resource);
    if (!loaded)
        return NULL;
    *size = SizeofResource(NULL, resource);
    return static_cast<const BYTE*>(LockResource(loaded));
}

// Length of the text at `data`: up to its NUL, bounded by the resource's size so a
// text without its NUL never leads a reader past the resource. `terminated` tells
// whether a NUL was found.
DWORD TextLength(const BYTE* data, DWORD size, bool* terminated)
{
    DWORD length = 0;
    while (length < size && data[length] != 0)
        ++length;
    *terminated = length < size;
    return length;
}

}  // namespace

char* LoadUiString(char* buffer, UINT id)
{
    LoadStringA(NULL, id, buffer, UI_STRING_SIZE);
    buffer[UI_STRING_SIZE - 1] = 0;
    return buffer;
}

BOOL LoadResourceText(UINT type, UINT id, char* destination, DWORD capacity)
{
    DWORD size = 0;
    const BYTE* data = FindResourceData(type, id, &size);
    if (!data)
        return FALSE;
    bool terminated;
    DWORD length = TextLength(data, size, &terminated);
    // A text that cannot arrive whole with its NUL is refused rather than cut.
    if (capacity == 0 || length > capacity - 1)
        return FALSE;
    for (DWORD i = 0; i < length; ++i)
        destination[i] = static_cast<char>(data[i]);
    destination[length] = 0;
    return TRUE;
}

const char* GetSetupText(UINT id)
{
    DWORD size = 0;
    const BYTE* data = FindResourceData(RT_SETUP_TEXT, id, &size);
    if (!data)
        return NULL;
    bool terminated;
    TextLength(data, size, &terminated);
    return terminated ? reinterpret_cast<const char*>(data) : NULL;
}

const BYTE* GetSetupFile(UINT id, DWORD* size)
{
    DWORD found = 0;
    const BYTE* data = FindResourceData(RT_SETUP_FILE, id, &found);
    if (data)
        *size = found;
    return data;
}
