#include "wizard_pages.h"

#include "bounded_text.h"
#include "package_layout.h"
#include "page_header.h"
#include "resource_loaders.h"
#include "wizard_ids.h"

namespace {

const DWORD kSubtitleSize = 1024;  // string 7 (255) with the title (79) put in

// Requests are posted, so the page's own handling has returned before the frame
// ends or replaces the page.
void Navigate(HWND page, WPARAM code)
{
    PostMessageA(GetParent(page), WM_WIZARD_NAVIGATE, code, 0);
}

// The package title, or the empty string when the package has none.
void LoadTitle(char* title)
{
    title[0] = 0;
    LoadResourceText(RT_SETUP_TITLE, ID_SETUP_TITLE, title, SETUP_TITLE_SIZE);
}

void SetPageText(HWND page, UINT textId)
{
    const char* text = GetSetupText(textId);
    SetDlgItemTextA(page, IDC_PAGE_TEXT, text ? text : "");
}

// Formats `format` with `title` as its one argument: "%s" takes the title, "%%" is a
// percent sign. Done by hand so that no other directive of a string-table entry can
// read an argument that is not there. Text that does not fit is left out.
void FormatWithTitle(char* out, DWORD capacity, const char* format, const char* title)
{
    out[0] = 0;
    char piece[2] = {0, 0};
    for (const char* p = format; *p; ++p) {
        bool fits;
        if (p[0] == '%' && p[1] == 's') {
            fits = AppendText(out, capacity, title);
            ++p;
        } else {
            piece[0] = *p;
            if (p[0] == '%' && p[1] == '%')
                ++p;
            fits = AppendText(out, capacity, piece);
        }
        if (!fits)
            return;
    }
}

BOOL InitWelcomePage(HWND page)
{
    char title[SETUP_TITLE_SIZE];
    LoadTitle(title);
    SetWindowTextA(page, title);
    SetPageText(page, ID_TEXT_DESCRIPTION);

    char format[UI_STRING_SIZE];
    char headerTitle[UI_STRING_SIZE];
    char subtitle[kSubtitleSize];
    LoadUiString(format, IDS_WILL_BE_INSTALLED);
    LoadUiString(headerTitle, IDS_PPC_INSTALLATION);
    FormatWithTitle(subtitle, sizeof(subtitle), format, title);
    InitPageHeader(page, headerTitle, subtitle);
    return FALSE;
}

BOOL InitLicensePage(HWND page)
{
    SetPageText(page, ID_TEXT_LICENSE);

    char headerTitle[UI_STRING_SIZE];
    char subtitle[UI_STRING_SIZE];
    LoadUiString(headerTitle, IDS_LICENSE_AGREEMENT);
    LoadUiString(subtitle, IDS_READ_LICENSE);
    InitPageHeader(page, headerTitle, subtitle);

    char title[SETUP_TITLE_SIZE];
    LoadTitle(title);
    SetWindowTextA(page, title);

    // Every visit starts declined, whatever the previous visit chose.
    EnableWindow(GetDlgItem(page, IDOK), FALSE);
    SendDlgItemMessageA(page, IDC_DECLINE, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void WelcomeCommand(HWND page, WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    // Back is disabled, so every other command is Cancel.
    Navigate(page, LOWORD(wParam) == IDOK ? WIZARD_NEXT : WIZARD_CANCEL);
}

void LicenseCommand(HWND page, WPARAM wParam)
{
    WORD id = LOWORD(wParam);
    switch (HIWORD(wParam)) {
    case BN_CLICKED:
        break;
    case EN_SETFOCUS:
        // The licence text opens, and is tabbed into, without a selection.
        SendDlgItemMessageA(page, IDC_PAGE_TEXT, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        return;
    default:
        return;
    }
    switch (id) {
    case IDOK:
        // Only an accepted agreement finishes, however the command arrived.
        if (IsWindowEnabled(GetDlgItem(page, IDOK)))
            Navigate(page, WIZARD_FINISH);
        break;
    case IDCANCEL:
        Navigate(page, WIZARD_CANCEL);
        break;
    case IDC_ACCEPT:
        EnableWindow(GetDlgItem(page, IDOK), TRUE);
        break;
    case IDC_DECLINE:
        EnableWindow(GetDlgItem(page, IDOK), FALSE);
        break;
    case IDC_BACK:
        Navigate(page, WIZARD_BACK);
        break;
    }
}

// What both pages do with every message but WM_INITDIALOG and WM_COMMAND: the
// header band's painting, colours and clean-up.
INT_PTR HeaderMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintHeaderBand(page);
    case WM_CTLCOLORSTATIC:
        return HeaderLabelColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        ReleasePageHeader(page);
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitWelcomePage(page);
    case WM_COMMAND:
        WelcomeCommand(page, wParam);
        return FALSE;
    }
    return HeaderMessage(page, message, wParam, lParam);
}

INT_PTR CALLBACK LicensePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitLicensePage(page);
    case WM_COMMAND:
        LicenseCommand(page, wParam);
        return FALSE;
    }
    return HeaderMessage(page, message, wParam, lParam);
}
