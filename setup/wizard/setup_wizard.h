// The wizard controller: one modal frame dialog that shows one page at a time as a
// child dialog, and moves between the pages when they post WM_WIZARD_NAVIGATE.
#ifndef SETUP_WIZARD_H
#define SETUP_WIZARD_H

#include <windows.h>

#include "wizard_ids.h"

// One page: its dialog template and the procedure that drives it.
struct WizardPage {
    UINT templateId;
    DLGPROC dialogProc;
};

const UINT kMaxWizardPages = 10000;

// Made once by the setup entry as an automatic object. Constructing it makes it the
// current controller; its destructor clears that again, on every way out of the
// owner's scope.
class SetupWizard {
public:
    // `title` becomes the frame's caption; it is referred to, not copied, so it must
    // outlive the controller.
    SetupWizard(HINSTANCE instance, const char* title);
    ~SetupWizard();

    // False, and nothing stored, once the table is full.
    bool AddPage(UINT templateId, DLGPROC dialogProc);

    // Runs the frame modally: WIZARD_FINISH or WIZARD_CANCEL, or -1 when the frame or
    // its first page cannot be shown (or no page was added).
    INT_PTR Run();

    // Called by the frame's procedure.
    void AttachFrame(HWND frame);
    bool ShowPage();
    void Next();
    void Back();
    void Finish();
    void Cancel();
    void PressPageButton(UINT id);

private:
    SetupWizard(const SetupWizard&) = delete;
    SetupWizard& operator=(const SetupWizard&) = delete;

    void FocusPage();

    WizardPage pages[kMaxWizardPages];
    const char* title;
    HINSTANCE instance;
    HWND pageWindow;
    UINT pageIndex;
    UINT pageCount;
    HWND frameWindow;
};

// The controller the frame's procedure works on; null when none exists.
extern SetupWizard* gCurrentWizard;

INT_PTR CALLBACK WizardFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

#endif
