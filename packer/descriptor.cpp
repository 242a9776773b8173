#include "descriptor.h"

#include "bounded_text.h"

bool ComposeDescriptor(const char* title, const char* component, const char* const* cabinets, int cabinetCount,
                       char* buffer, DWORD capacity, DWORD* length)
{
    if (capacity == 0)
        return false;
    buffer[0] = 0;
    // Each key is padded with blanks to 13 characters, then "= ".
    bool fits = AppendText(buffer, capacity, "[CEAppManager]\r\n") && AppendText(buffer, capacity, "Version      = 1.0\r\n")
        && AppendText(buffer, capacity, "Component    = ") && AppendText(buffer, capacity, title)
        && AppendText(buffer, capacity, "\r\n\r\n[") && AppendText(buffer, capacity, title)
        && AppendText(buffer, capacity, "]\r\nDescription  = ") && AppendText(buffer, capacity, component)
        && AppendText(buffer, capacity, "\r\nUninstall    = ") && AppendText(buffer, capacity, component)
        && AppendText(buffer, capacity, "\r\nCabFiles     = ");
    for (int i = 0; fits && i < cabinetCount; ++i)
        fits = (i == 0 || AppendText(buffer, capacity, ",")) && AppendText(buffer, capacity, cabinets[i]);
    fits = fits && AppendText(buffer, capacity, "\r\n");
    if (!fits)
        return false;
    *length = TextLength(buffer);
    return true;
}
