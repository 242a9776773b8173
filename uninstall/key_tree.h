// Removal of the uninstall entry with everything below it.
#ifndef KEY_TREE_H
#define KEY_TREE_H

#include <windows.h>

// Deepest tree below the parent that DeleteKeyTree goes into: the registry's own
// nesting limit. A deeper tree is left alone rather than risking the stack.
const DWORD kMaxKeyTreeDepth = 512;

// Deletes the key `name` below `parent` after all of its sub-keys, depth-first.
// True if and only if the key and everything below it are gone.
bool DeleteKeyTree(HKEY parent, const char* name);

// Opens the Uninstall root and deletes the entry `name` with its whole tree.
// Reports nothing; the caller goes on whatever happened.
void RemoveUninstallEntry(const char* name);

#endif
