// The wizard's two pages: the welcome page with the package description, and the
// licence page whose Finish works only while the agreement is accepted.
#ifndef WIZARD_PAGES_H
#define WIZARD_PAGES_H

#include <windows.h>

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicensePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
