#include <windows.h>

#include "installation.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunInstallation() ? 0 : 1;
}
