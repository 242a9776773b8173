// Runs the installation sequence over the package linked into this test program.
#include <windows.h>

#include "installation.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunInstallation() ? 0 : 1;
}
