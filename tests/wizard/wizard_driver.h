// Finding the wizard's frame and pages from outside, and what they show.
#ifndef WIZARD_DRIVER_H
#define WIZARD_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace wd {

// The visible child dialogs of the frame; a settled wizard has exactly one.
std::vector<HWND> VisiblePages(HWND frame);
HWND VisiblePage(HWND frame);   // null unless exactly one is visible
bool IsLicensePage(HWND page);  // the welcome page has no choices

// The header labels of a page, in the order the page made them (title first).
std::vector<HWND> HeaderLabels(HWND page);

// Waits until a page other than `previous` is the one visible page and `previous`
// has ended; null on time-out.
HWND WaitForNewPage(HWND frame, HWND previous, DWORD timeoutMs = 10000);

bool IsChecked(HWND button);

// The selection of an edit control, as EM_GETSEL reports it.
struct Selection {
    DWORD start;
    DWORD end;
};
Selection SelectionOf(HWND edit);

// A running setup program and its frame.
struct Wizard {
    ts::Child child;
    HWND frame = NULL;
};

// Starts `program` and waits for its frame captioned `caption`.
Wizard StartWizard(const std::string& program, const std::string& caption);
// True when the program has ended within the time; its exit code in `exitCode`.
// Message boxes are answered and recorded.
bool WaitForEnd(Wizard& wizard, DWORD* exitCode, std::vector<ts::MessageBoxSeen>* boxes, DWORD timeoutMs = 30000);
// Ends the program if it still runs (a failed test must not leave it behind).
void Stop(Wizard& wizard);

}  // namespace wd

#endif
