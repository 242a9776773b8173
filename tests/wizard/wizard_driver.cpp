#include "wizard_driver.h"

#include <gtest/gtest.h>

#include "wizard_ids.h"

namespace wd {

std::vector<HWND> VisiblePages(HWND frame)
{
    std::vector<HWND> pages;
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && ts::ClassName(child) == "#32770")
            pages.push_back(child);
    return pages;
}

HWND VisiblePage(HWND frame)
{
    std::vector<HWND> pages = VisiblePages(frame);
    return pages.size() == 1 ? pages[0] : NULL;
}

bool IsLicensePage(HWND page)
{
    return GetDlgItem(page, IDC_ACCEPT) != NULL;
}

std::vector<HWND> HeaderLabels(HWND page)
{
    std::vector<HWND> labels;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == IDC_HEADER_LABEL)
            labels.push_back(child);
    return labels;
}

HWND WaitForNewPage(HWND frame, HWND previous, DWORD timeoutMs)
{
    HWND page = NULL;
    // Settled: the new page is shown first, the previous one ends just after.
    ts::WaitUntil([&] {
        page = VisiblePage(frame);
        return page != NULL && page != previous && (!previous || !IsWindow(previous));
    }, timeoutMs);
    return page != previous ? page : NULL;
}

bool IsChecked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Selection SelectionOf(HWND edit)
{
    LRESULT packed = SendMessageA(edit, EM_GETSEL, 0, 0);
    return Selection{LOWORD(packed), HIWORD(packed)};
}

Wizard StartWizard(const std::string& program, const std::string& caption)
{
    Wizard wizard;
    wizard.child = ts::Start("\"" + program + "\"");
    if (wizard.child.process) {
        wizard.frame = ts::WaitForWindow(wizard.child.pid, caption);
        EXPECT_TRUE(wizard.frame != NULL) << "no window captioned \"" << caption << "\" from " << program;
        // The first page is on show once the frame is.
        EXPECT_TRUE(ts::WaitUntil([&] { return VisiblePage(wizard.frame) != NULL; }));
    }
    return wizard;
}

bool WaitForEnd(Wizard& wizard, DWORD* exitCode, std::vector<ts::MessageBoxSeen>* boxes, DWORD timeoutMs)
{
    if (!ts::WaitAnsweringBoxes(wizard.child, boxes, timeoutMs))
        return false;
    *exitCode = ts::ExitCode(wizard.child);
    return true;
}

void Stop(Wizard& wizard)
{
    if (wizard.child.process && WaitForSingleObject(wizard.child.process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(wizard.child.process, 255);
        WaitForSingleObject(wizard.child.process, 5000);
    }
    ts::Close(wizard.child);
}

}  // namespace wd
