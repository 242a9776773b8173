// The smallest modal dialog program: the yardstick for setup.exe's time to its wizard.
#include <windows.h>

namespace {

INT_PTR CALLBACK MinimalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

extern "C" void ProgramEntry()
{
    ExitProcess(static_cast<UINT>(DialogBoxParamA(NULL, MAKEINTRESOURCEA(1), NULL, MinimalProc, 0)));
}
