// The wizard hosted in the test's own process, on a thread of its own: what cannot be
// seen from another process (the labels' fonts, the current controller) and the
// controller's edges, over the real frame, pages and templates.
#include <gtest/gtest.h>

#include <functional>

#include "package_layout.h"
#include "setup_main.h"
#include "setup_wizard.h"
#include "test_support.h"
#include "wizard_driver.h"
#include "wizard_pages.h"

namespace {

const UINT kMissingTemplate = 999;  // no dialog of that id exists

// Runs `body` on a thread of its own, as the wizard's one thread.
class WizardThread {
public:
    explicit WizardThread(std::function<INT_PTR()> body) : body_(body)
    {
        // The controller's page table lives on this thread's stack.
        thread_ = CreateThread(NULL, 4 << 20, Main, this, STACK_SIZE_PARAM_IS_A_RESERVATION, &threadId_);
        EXPECT_TRUE(thread_ != NULL);
    }

    ~WizardThread()
    {
        if (thread_ && !Ended(5000)) {
            // A wizard left open by a failed test: end it the way a person can.
            if (HWND frame = Frame(0))
                if (HWND page = wd::VisiblePage(frame))
                    PostMessageA(page, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(Ended(10000)) << "the wizard thread did not end";
        }
        if (thread_)
            CloseHandle(thread_);
    }

    // The visible frame of this thread; null when there is none within the time.
    HWND Frame(DWORD timeoutMs = 10000)
    {
        HWND frame = NULL;
        ts::WaitUntil([&] {
            frame = NULL;
            EnumThreadWindows(threadId_, FindFrame, reinterpret_cast<LPARAM>(&frame));
            return frame != NULL && wd::VisiblePage(frame) != NULL;
        }, timeoutMs);
        return frame;
    }

    bool Ended(DWORD timeoutMs = 10000)
    {
        return ts::WaitUntil([&] { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }, timeoutMs);
    }

    INT_PTR result = -99;

private:
    static DWORD WINAPI Main(void* self)
    {
        WizardThread* thread = static_cast<WizardThread*>(self);
        thread->result = thread->body_();
        return 0;
    }

    static BOOL CALLBACK FindFrame(HWND window, LPARAM found)
    {
        if (IsWindowVisible(window) && ts::ClassName(window) == "#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    std::function<INT_PTR()> body_;
    HANDLE thread_ = NULL;
    DWORD threadId_ = 0;
};

LOGFONTA FontOf(HWND window)
{
    LOGFONTA font = {};
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_EQ(static_cast<int>(sizeof(font)), GetObjectA(handle, sizeof(font), &font)) << "no font on " << window;
    return font;
}

HGDIOBJ FontHandleOf(HWND window)
{
    return reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// The title label semibold, the subtitle as the page, both in the page's face and size.
void ExpectHeaderFonts(HWND page)
{
    std::vector<HWND> labels = wd::HeaderLabels(page);
    ASSERT_EQ(2u, labels.size());
    LOGFONTA pageFont = FontOf(page);
    LOGFONTA title = FontOf(labels[0]);
    LOGFONTA subtitle = FontOf(labels[1]);
    EXPECT_STREQ("MS Sans Serif", pageFont.lfFaceName);
    EXPECT_NE(FW_SEMIBOLD, pageFont.lfWeight);
    EXPECT_EQ(FW_SEMIBOLD, title.lfWeight);
    EXPECT_EQ(pageFont.lfWeight, subtitle.lfWeight);
    for (const LOGFONTA& label : {title, subtitle}) {
        EXPECT_STREQ(pageFont.lfFaceName, label.lfFaceName);
        EXPECT_EQ(pageFont.lfHeight, label.lfHeight);
        EXPECT_EQ(pageFont.lfItalic, label.lfItalic);
        EXPECT_EQ(pageFont.lfCharSet, label.lfCharSet);
    }
    // Separate objects: each label's font is its own.
    EXPECT_NE(FontHandleOf(labels[0]), FontHandleOf(labels[1]));
    EXPECT_NE(FontHandleOf(page), FontHandleOf(labels[1]));
}

// Posts a navigation request as a page does and waits for another page.
HWND Navigate(HWND frame, WPARAM code)
{
    HWND before = wd::VisiblePage(frame);
    PostMessageA(frame, WM_WIZARD_NAVIGATE, code, 0);
    return wd::WaitForNewPage(frame, before);
}

TEST(HostedSetupMain, HeaderFontsOnBothPagesAndNoControllerAfterwards)
{
    EXPECT_TRUE(gCurrentWizard == NULL);
    WizardThread thread([] { return static_cast<INT_PTR>(SetupMain()); });
    HWND frame = thread.Frame();
    ASSERT_TRUE(frame != NULL);
    EXPECT_EQ("Hosted Wizard", ts::WindowText(frame));
    EXPECT_TRUE(gCurrentWizard != NULL);

    HWND welcome = wd::VisiblePage(frame);
    ExpectHeaderFonts(welcome);
    SendMessageA(GetDlgItem(welcome, IDOK), BM_CLICK, 0, 0);
    HWND license = wd::WaitForNewPage(frame, welcome);
    ASSERT_TRUE(license && wd::IsLicensePage(license));
    ExpectHeaderFonts(license);

    SendMessageA(GetDlgItem(license, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(thread.Ended());
    EXPECT_EQ(kSetupDone, thread.result);
    EXPECT_TRUE(gCurrentWizard == NULL);
}

// Paging back and forth must not pile up fonts: a page's fonts go with the page.
TEST(HostedSetupMain, HeaderFontsGoWithTheirPage)
{
    WizardThread thread([] { return static_cast<INT_PTR>(SetupMain()); });
    HWND frame = thread.Frame();
    ASSERT_TRUE(frame != NULL);
    std::vector<HGDIOBJ> ended;
    HWND page = wd::VisiblePage(frame);
    for (int visit = 0; visit < 40; ++visit) {
        std::vector<HWND> labels = wd::HeaderLabels(page);
        ASSERT_EQ(2u, labels.size());
        HGDIOBJ fonts[] = {FontHandleOf(labels[0]), FontHandleOf(labels[1])};
        for (HGDIOBJ font : fonts)
            EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(font));
        page = Navigate(frame, visit % 2 == 0 ? WIZARD_NEXT : WIZARD_BACK);
        ASSERT_TRUE(page != NULL);
        ended.insert(ended.end(), fonts, fonts + 2);
        for (HGDIOBJ font : ended)
            ASSERT_EQ(0u, GetObjectType(font)) << "a font of an ended page still exists, visit " << visit;
    }
    PostMessageA(frame, WM_WIZARD_NAVIGATE, WIZARD_CANCEL, 0);
    ASSERT_TRUE(thread.Ended());
}

// ---- the controller over the real frame and pages ----

TEST(HostedController, CurrentWhileItExists)
{
    EXPECT_TRUE(gCurrentWizard == NULL);
    {
        char title[] = "t";
        SetupWizard wizard(NULL, title);
        EXPECT_EQ(&wizard, gCurrentWizard);
    }
    EXPECT_TRUE(gCurrentWizard == NULL);
}

TEST(HostedController, PageTableHoldsTheMaximumAndNoMore)
{
    SetupWizard wizard(NULL, "t");
    for (UINT i = 0; i < kMaxWizardPages; ++i)
        ASSERT_TRUE(wizard.AddPage(IDD_PAGE_WELCOME, WelcomePageProc)) << i;
    EXPECT_FALSE(wizard.AddPage(IDD_PAGE_WELCOME, WelcomePageProc));
}

struct OutcomeCase {
    WPARAM code;
    INT_PTR outcome;
};

class HostedOutcome : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(HostedOutcome, RunReturnsTheCodeItEndedWith)
{
    WPARAM code = GetParam().code;
    WizardThread thread([] {
        SetupWizard wizard(NULL, "Outcome");
        wizard.AddPage(IDD_PAGE_WELCOME, WelcomePageProc);
        wizard.AddPage(IDD_PAGE_LICENSE, LicensePageProc);
        return wizard.Run();
    });
    HWND frame = thread.Frame();
    ASSERT_TRUE(frame != NULL);
    EXPECT_EQ("Outcome", ts::WindowText(frame));
    // From either page.
    if (code == WIZARD_FINISH)
        ASSERT_TRUE(Navigate(frame, WIZARD_NEXT) != NULL);
    PostMessageA(frame, WM_WIZARD_NAVIGATE, code, 0);
    ASSERT_TRUE(thread.Ended());
    EXPECT_EQ(GetParam().outcome, thread.result);
    EXPECT_FALSE(IsWindow(frame));
}

INSTANTIATE_TEST_SUITE_P(Codes, HostedOutcome, ::testing::Values(
    OutcomeCase{WIZARD_FINISH, 2}, OutcomeCase{WIZARD_CANCEL, 3}));

TEST(HostedController, NoPageMeansNoWizard)
{
    WizardThread thread([] {
        SetupWizard wizard(NULL, "Empty");
        return wizard.Run();
    });
    ASSERT_TRUE(thread.Ended());
    EXPECT_EQ(-1, thread.result);
}

// A first page that cannot be made would leave a frame nobody can close.
TEST(HostedController, FirstPageThatCannotBeMadeEndsTheWizard)
{
    WizardThread thread([] {
        SetupWizard wizard(NULL, "Broken");
        wizard.AddPage(kMissingTemplate, WelcomePageProc);
        return wizard.Run();
    });
    ASSERT_TRUE(thread.Ended());
    EXPECT_EQ(-1, thread.result);
}

// A later page that cannot be made leaves the page on show, and the wizard where it was.
TEST(HostedController, PageThatCannotBeMadeKeepsThePageOnShow)
{
    WizardThread thread([] {
        SetupWizard wizard(NULL, "Broken later");
        wizard.AddPage(IDD_PAGE_LICENSE, LicensePageProc);
        wizard.AddPage(IDD_PAGE_WELCOME, WelcomePageProc);
        wizard.AddPage(kMissingTemplate, WelcomePageProc);
        return wizard.Run();
    });
    HWND frame = thread.Frame();
    ASSERT_TRUE(frame != NULL);
    HWND welcome = Navigate(frame, WIZARD_NEXT);
    ASSERT_TRUE(welcome && !wd::IsLicensePage(welcome));

    PostMessageA(frame, WM_WIZARD_NAVIGATE, WIZARD_NEXT, 0);
    // Back, queued behind it, shows where the wizard stood: on the welcome page, so
    // Back leads to the licence page.
    HWND back = Navigate(frame, WIZARD_BACK);
    ASSERT_TRUE(back != NULL);
    EXPECT_TRUE(wd::IsLicensePage(back));
    EXPECT_FALSE(IsWindow(welcome));
    PostMessageA(frame, WM_WIZARD_NAVIGATE, WIZARD_CANCEL, 0);
    ASSERT_TRUE(thread.Ended());
    EXPECT_EQ(WIZARD_CANCEL, thread.result);
}

// Next on the last page and Back on the first show that page again, as a new window.
class HostedEdgePage : public ::testing::TestWithParam<WPARAM> {};

TEST_P(HostedEdgePage, ShowsThePageAgainFresh)
{
    WizardThread thread([] {
        SetupWizard wizard(NULL, "One page");
        wizard.AddPage(IDD_PAGE_LICENSE, LicensePageProc);
        return wizard.Run();
    });
    HWND frame = thread.Frame();
    ASSERT_TRUE(frame != NULL);
    HWND first = wd::VisiblePage(frame);
    SendMessageA(GetDlgItem(first, IDC_ACCEPT), BM_CLICK, 0, 0);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(first, IDOK)));

    HWND again = Navigate(frame, GetParam());
    ASSERT_TRUE(again != NULL);
    EXPECT_TRUE(wd::IsLicensePage(again));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(again, IDOK)));
    EXPECT_TRUE(wd::IsChecked(GetDlgItem(again, IDC_DECLINE)));
    EXPECT_EQ(1u, wd::VisiblePages(frame).size());
    PostMessageA(frame, WM_WIZARD_NAVIGATE, WIZARD_CANCEL, 0);
    ASSERT_TRUE(thread.Ended());
}

INSTANTIATE_TEST_SUITE_P(Codes, HostedEdgePage, ::testing::Values(WIZARD_NEXT, WIZARD_BACK));

}  // namespace
