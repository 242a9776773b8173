#include "setup_wizard.h"

#include "package_layout.h"

SetupWizard* gCurrentWizard = NULL;

SetupWizard::SetupWizard(HINSTANCE instance, const char* title)
    : title(title), instance(instance), pageWindow(NULL), pageIndex(0), pageCount(0), frameWindow(NULL)
{
    gCurrentWizard = this;
}

SetupWizard::~SetupWizard()
{
    if (gCurrentWizard == this)
        gCurrentWizard = NULL;
}

bool SetupWizard::AddPage(UINT templateId, DLGPROC dialogProc)
{
    if (pageCount >= kMaxWizardPages)
        return false;
    pages[pageCount].templateId = templateId;
    pages[pageCount].dialogProc = dialogProc;
    ++pageCount;
    return true;
}

INT_PTR SetupWizard::Run()
{
    if (pageCount == 0)
        return -1;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WIZARD_FRAME), NULL, WizardFrameProc, 0);
}

void SetupWizard::AttachFrame(HWND frame)
{
    frameWindow = frame;
    SetWindowTextA(frameWindow, title);
    // A frame without a page could not be closed at all: its close box does nothing.
    if (!ShowPage())
        EndDialog(frameWindow, -1);
}

// Creates the page at pageIndex over the whole client area, then ends the page that
// was on show. When the page cannot be created the previous page stays, and false
// tells the caller to keep its index.
bool SetupWizard::ShowPage()
{
    const WizardPage& page = pages[pageIndex];
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(page.templateId), frameWindow, page.dialogProc, 0);
    if (!window)
        return false;

    RECT client;
    GetClientRect(frameWindow, &client);
    SetWindowPos(window, HWND_TOP, client.left, client.top, client.right, client.bottom, SWP_SHOWWINDOW);

    // An ended page is destroyed at once, taking its header fonts with it, so paging
    // back and forth costs nothing and the dialog manager never finds its buttons.
    HWND previous = pageWindow;
    pageWindow = window;
    if (previous)
        DestroyWindow(previous);
    FocusPage();
    return true;
}

// The keyboard focus went with the previous page; give it to the new page's first
// control, as the dialog manager does for the first page when the frame opens. Plain
// SetFocus, because the dialog manager would first select all of an edit control's
// text, which leaves the licence text scrolled to its end.
void SetupWizard::FocusPage()
{
    if (!IsWindowVisible(frameWindow))
        return;
    HWND focus = GetFocus();
    if (focus && IsChild(pageWindow, focus))
        return;
    HWND first = GetNextDlgTabItem(pageWindow, NULL, FALSE);
    if (first)
        SetFocus(first);
}

void SetupWizard::Next()
{
    UINT shown = pageIndex;
    ++pageIndex;
    if (pageIndex >= pageCount)
        pageIndex = pageCount - 1;
    if (!ShowPage())
        pageIndex = shown;
}

void SetupWizard::Back()
{
    UINT shown = pageIndex;
    if (pageIndex > 0)
        --pageIndex;
    if (!ShowPage())
        pageIndex = shown;
}

void SetupWizard::Finish()
{
    EndDialog(frameWindow, WIZARD_FINISH);
}

void SetupWizard::Cancel()
{
    EndDialog(frameWindow, WIZARD_CANCEL);
}

// Enter and Esc reach the frame's dialog manager, which turns them into commands to
// the frame. They act as a click on the page's push button of that id, and only when
// a person could click it.
void SetupWizard::PressPageButton(UINT id)
{
    if (!pageWindow)
        return;
    HWND button = GetDlgItem(pageWindow, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return;
    if (!(SendMessageA(button, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        return;
    SendMessageA(pageWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

INT_PTR CALLBACK WizardFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM)
{
    SetupWizard* wizard = gCurrentWizard;
    if (!wizard)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        wizard->AttachFrame(frame);
        return TRUE;
    case WM_WIZARD_NAVIGATE:
        switch (wParam) {
        case WIZARD_NEXT:
            wizard->Next();
            break;
        case WIZARD_BACK:
            wizard->Back();
            break;
        case WIZARD_FINISH:
            wizard->Finish();
            break;
        case WIZARD_CANCEL:
            wizard->Cancel();
            break;
        }
        return FALSE;
    case WM_COMMAND:
        wizard->PressPageButton(LOWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        // The close box and Alt+F4 leave the wizard open; it ends through its pages.
        return TRUE;
    }
    return FALSE;
}
