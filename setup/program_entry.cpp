#include <windows.h>

#include "setup_main.h"

// The process starts here, without the C runtime's start-up code.
extern "C" void ProgramEntry()
{
    ExitProcess(static_cast<UINT>(SetupMain()));
}
