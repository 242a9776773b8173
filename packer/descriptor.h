// The Application Manager's descriptor, install.ini.
#ifndef DESCRIPTOR_H
#define DESCRIPTOR_H

#include <windows.h>

// Composes the eight lines, each ending with CR LF, into `buffer`: the title names
// the component and its section, `component` is the component base name, and
// "CabFiles" lists `cabinets` comma-separated in the order given. False when it
// does not fit `capacity`; `length` receives the length without the NUL.
bool ComposeDescriptor(const char* title, const char* component, const char* const* cabinets, int cabinetCount,
                       char* buffer, DWORD capacity, DWORD* length);

#endif
