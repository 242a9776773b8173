#include <windows.h>

#include "installation.h"

// The process starts here, without the C runtime's start-up code.
extern "C" void ProgramEntry()
{
    ExitProcess(RunInstallation() ? 0 : 1);
}
