// The uninstaller's argument: the uninstall entry's name, taken from its own command line.
#ifndef ENTRY_NAME_H
#define ENTRY_NAME_H

#include <windows.h>

// Returns the rest of `commandLine` after the program's own name and the blanks and
// control bytes after it, in place: nothing is copied, trimmed or unquoted.
// `programPath` is this program's full path (may be null): when the command line
// starts with it unquoted, blanks and all, the whole path counts as the program name.
// `codePage` tells double-byte characters inside a quoted name.
const char* EntryNameFromCommandLine(const char* commandLine, const char* programPath, UINT codePage);

// Length of the part of `text` that spells `path`, with ASCII letters compared without
// regard to case and double-byte characters compared whole; 0 when `text` does not
// begin with `path`.
DWORD PathPrefixLength(const char* text, const char* path, UINT codePage);

#endif
