#include "key_tree.h"

#include "uninstall_registration.h"

namespace {

// What RegEnumKeyExA may write: names of up to 259 characters and their terminator.
// Every level of the recursion holds one of these, so it stays small.
const DWORD kSubKeyNameSize = 260;

bool DeleteKeyTreeAt(HKEY parent, const char* name, DWORD depth)
{
    if (!name || !name[0] || depth >= kMaxKeyTreeDepth)
        return false;

    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;

    // Each pass deletes the sub-key it found, so the next one moves up to index 0.
    // Any failure of the enumeration, a name too long for the buffer included, ends it.
    char subKey[kSubKeyNameSize];
    DWORD capacity = kSubKeyNameSize;
    while (RegEnumKeyExA(key, 0, subKey, &capacity, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        if (!DeleteKeyTreeAt(key, subKey, depth + 1)) {
            RegCloseKey(key);
            return false;
        }
        capacity = kSubKeyNameSize;
    }
    RegCloseKey(key);

    return RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}

}  // namespace

bool DeleteKeyTree(HKEY parent, const char* name)
{
    return DeleteKeyTreeAt(parent, name, 0);
}

void RemoveUninstallEntry(const char* name)
{
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_ROOT_KEY, 0, KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY, &root) != ERROR_SUCCESS)
        return;
    DeleteKeyTree(root, name);
    RegCloseKey(root);
}
