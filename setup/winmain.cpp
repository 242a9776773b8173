#include <windows.h>

#include "setup_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return SetupMain();
}
