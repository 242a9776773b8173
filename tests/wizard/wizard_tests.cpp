// The wizard of the setup program, driven from outside as a person would: the frame
// found by its caption, real clicks and keys, and what the windows and the screen show.
#include <gtest/gtest.h>

#include "test_support.h"
#include "wizard_driver.h"
#include "wizard_ids.h"

namespace {

const char kAppManager[] = "C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE";
const char kInstallFolder[] = "C:\\Program Files\\Microsoft ActiveSync\\Tide Tables";
const char kTitle[] = "Tide Tables";
const char kTitle79[] = "Harbour Master Tide and Current Tables for the North Sea and the Baltic, Ed 202";
const char kWillBeInstalled[] = " will be installed on your Pocket PC now";
const char kX11Key[] = "Software\\Wine\\X11 Driver";

std::string UninstallKey() { return std::string(ts::kUninstallRoot) + "\\" + kTitle; }

// A page text of a program's package, without its NUL.
std::string PackageText(const std::string& program, int id)
{
    std::string bytes;
    EXPECT_TRUE(ts::ReadProgramResource(program, 102, id, &bytes)) << program << " text " << id;
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return bytes;
}

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ts::RemoveTree(kInstallFolder);
        ts::DeleteTree(HKEY_LOCAL_MACHINE, UninstallKey());
        ts::InstallAppManager(kAppManager);
        // Wine draws the caption with its close box itself, as Windows would; by
        // default it leaves that to a window manager, and Xvfb has none.
        ts::SetValue(HKEY_CURRENT_USER, kX11Key, "Decorated", REG_SZ, std::string("N", 2));
    }

    void TearDown() override
    {
        wd::Stop(wizard);
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kX11Key, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Decorated");
            RegCloseKey(key);
        }
    }

    void Start(const std::string& program = ts::ShippedBin("setup.exe"), const std::string& caption = kTitle)
    {
        wizard = wd::StartWizard(program, caption);
        ASSERT_TRUE(wizard.frame != NULL);
    }

    HWND Page() { return wd::VisiblePage(wizard.frame); }
    HWND Item(int id) { return GetDlgItem(Page(), id); }

    // Moves from the welcome page to the licence page with a click on Next.
    HWND GoToLicensePage()
    {
        HWND welcome = Page();
        EXPECT_FALSE(wd::IsLicensePage(welcome));
        ts::Click(GetDlgItem(welcome, IDOK));
        HWND license = wd::WaitForNewPage(wizard.frame, welcome);
        EXPECT_TRUE(license && wd::IsLicensePage(license));
        return license;
    }

    // Ends the program and checks that nothing was installed and nothing shown.
    void ExpectEndedWithoutInstalling()
    {
        DWORD exitCode = 99;
        std::vector<ts::MessageBoxSeen> boxes;
        ASSERT_TRUE(wd::WaitForEnd(wizard, &exitCode, &boxes));
        EXPECT_EQ(0u, exitCode);
        EXPECT_EQ(0u, boxes.size());
        EXPECT_FALSE(ts::FolderExists(kInstallFolder));
        EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, UninstallKey()));
        EXPECT_FALSE(ts::FileExists(ts::LaunchRecordOf(kAppManager)));
    }

    wd::Wizard wizard;
};

// ---- what the pages show ----

struct PackageCase {
    const char* program;  // in the test folder, or "" for the shipped setup.exe
    const char* title;
};

class WelcomePageTest : public WizardTest, public ::testing::WithParamInterface<PackageCase> {};

TEST_P(WelcomePageTest, ShowsTitleDescriptionAndHeader)
{
    std::string program = *GetParam().program ? ts::TestBin(GetParam().program) : ts::ShippedBin("setup.exe");
    std::string title = GetParam().title;
    Start(program, title);

    EXPECT_EQ(title, ts::WindowText(wizard.frame));
    EXPECT_EQ("#32770", ts::ClassName(wizard.frame));
    HWND page = Page();
    ASSERT_TRUE(page != NULL);
    EXPECT_FALSE(wd::IsLicensePage(page));
    EXPECT_EQ(title, ts::WindowText(page));
    EXPECT_EQ(PackageText(program, 4), ts::ControlText(GetDlgItem(page, IDC_PAGE_TEXT)));

    std::vector<HWND> labels = wd::HeaderLabels(page);
    ASSERT_EQ(2u, labels.size());
    EXPECT_EQ("Pocket PC installation", ts::ControlText(labels[0]));
    EXPECT_EQ(title + kWillBeInstalled, ts::ControlText(labels[1]));
    EXPECT_TRUE(IsWindowVisible(labels[0]) && IsWindowVisible(labels[1]));

    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDCANCEL)));
    // The placeholder only marks the band; the page paints the band itself.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_HEADER_BAND)));
}

INSTANTIATE_TEST_SUITE_P(Packages, WelcomePageTest, ::testing::Values(
    PackageCase{"", kTitle},
    PackageCase{"setup_title79.exe", kTitle79},
    PackageCase{"setup_untitled.exe", ""}));

TEST_F(WizardTest, LicensePageOpensDeclinedUnselectedAndReadOnly)
{
    Start();
    HWND page = GoToLicensePage();
    ASSERT_TRUE(page != NULL);
    EXPECT_EQ(kTitle, ts::WindowText(wizard.frame));
    EXPECT_EQ(kTitle, ts::WindowText(page));

    std::vector<HWND> labels = wd::HeaderLabels(page);
    ASSERT_EQ(2u, labels.size());
    EXPECT_EQ("License Agreement", ts::ControlText(labels[0]));
    EXPECT_EQ("Please read the following license agreement carefully.", ts::ControlText(labels[1]));

    HWND text = GetDlgItem(page, IDC_PAGE_TEXT);
    EXPECT_EQ(PackageText(ts::ShippedBin("setup.exe"), 5), ts::ControlText(text));
    EXPECT_EQ(text, ts::FocusOf(wizard.frame));
    wd::Selection selection = wd::SelectionOf(text);
    EXPECT_EQ(selection.start, selection.end) << "the licence text opens with a selection";
    // It opens at its beginning, where a person starts reading.
    EXPECT_EQ(0u, selection.start);
    EXPECT_EQ(0, SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & ES_READONLY);

    EXPECT_TRUE(wd::IsChecked(GetDlgItem(page, IDC_DECLINE)));
    EXPECT_FALSE(wd::IsChecked(GetDlgItem(page, IDC_ACCEPT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDCANCEL)));
    // Only the page on show exists: the welcome page went when it ended.
    EXPECT_EQ(1u, wd::VisiblePages(wizard.frame).size());
}

TEST_F(WizardTest, LicenseTextCannotBeEdited)
{
    Start();
    HWND page = GoToLicensePage();
    ASSERT_TRUE(page != NULL);
    HWND text = GetDlgItem(page, IDC_PAGE_TEXT);
    std::string before = ts::ControlText(text);
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    ASSERT_EQ(text, ts::FocusOf(wizard.frame));
    ts::PressKeys({'X'});
    ts::PressKeys({VK_DELETE});
    ts::PressKeys({VK_BACK});
    ts::PressKeys({VK_CONTROL, 'V'});
    ts::PressKeys({VK_CONTROL, 'X'});
    // Keys are handled in order: once Tab has moved the focus, the others are done.
    ts::PressKeys({VK_TAB});
    ASSERT_TRUE(ts::WaitUntil([&] { return ts::FocusOf(wizard.frame) != text; }));
    EXPECT_EQ(before, ts::ControlText(text));
}

// ---- the accept choice and navigation ----

TEST_F(WizardTest, FinishFollowsTheAcceptChoice)
{
    Start();
    HWND page = GoToLicensePage();
    ASSERT_TRUE(page != NULL);
    HWND finish = GetDlgItem(page, IDOK);
    HWND accept = GetDlgItem(page, IDC_ACCEPT);
    HWND decline = GetDlgItem(page, IDC_DECLINE);

    // A click on the disabled Finish does nothing; the later click shows it was handled.
    ts::Click(finish);
    ts::Click(accept);
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(finish) != FALSE; }));
    EXPECT_TRUE(wd::IsChecked(accept));
    EXPECT_FALSE(wd::IsChecked(decline));
    EXPECT_EQ(page, Page());

    ts::Click(decline);
    ASSERT_TRUE(ts::WaitUntil([&] { return !IsWindowEnabled(finish); }));
    EXPECT_FALSE(wd::IsChecked(accept));
    EXPECT_TRUE(wd::IsChecked(decline));

    ts::Click(accept);
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(finish) != FALSE; }));
    ts::Click(GetDlgItem(page, IDCANCEL));
    ExpectEndedWithoutInstalling();
}

TEST_F(WizardTest, BackOnWelcomePageCannotBePressed)
{
    Start();
    HWND welcome = Page();
    HWND back = GetDlgItem(welcome, IDC_BACK);
    EXPECT_FALSE(IsWindowEnabled(back));
    ts::Click(back);
    ts::Click(GetDlgItem(welcome, IDOK));
    HWND license = wd::WaitForNewPage(wizard.frame, welcome);
    ASSERT_TRUE(license != NULL);
    EXPECT_TRUE(wd::IsLicensePage(license));
}

TEST_F(WizardTest, BackThenNextShowsAFreshLicensePage)
{
    Start();
    HWND first = GoToLicensePage();
    ASSERT_TRUE(first != NULL);
    ts::Click(GetDlgItem(first, IDC_ACCEPT));
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(first, IDOK)) != FALSE; }));

    ts::Click(GetDlgItem(first, IDC_BACK));
    HWND welcome = wd::WaitForNewPage(wizard.frame, first);
    ASSERT_TRUE(welcome != NULL);
    EXPECT_FALSE(wd::IsLicensePage(welcome));
    EXPECT_EQ("Pocket PC installation", ts::ControlText(wd::HeaderLabels(welcome).at(0)));

    ts::Click(GetDlgItem(welcome, IDOK));
    HWND second = wd::WaitForNewPage(wizard.frame, welcome);
    ASSERT_TRUE(second != NULL);
    EXPECT_TRUE(wd::IsLicensePage(second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(wd::IsChecked(GetDlgItem(second, IDC_DECLINE)));
    EXPECT_FALSE(wd::IsChecked(GetDlgItem(second, IDC_ACCEPT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(second, IDOK)));
    EXPECT_EQ("License Agreement", ts::ControlText(wd::HeaderLabels(second).at(0)));
}

// ---- ending the wizard without installing ----

enum class CancelBy { Click, Escape, AltC };

struct CancelCase {
    bool onLicensePage;
    CancelBy how;
};

class CancelTest : public WizardTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, EndsWithoutInstallingAnything)
{
    Start();
    if (GetParam().onLicensePage)
        ASSERT_TRUE(GoToLicensePage() != NULL);
    switch (GetParam().how) {
    case CancelBy::Click:
        ts::Click(Item(IDCANCEL));
        break;
    case CancelBy::Escape:
        ASSERT_TRUE(ts::BringToFront(wizard.frame));
        ts::PressKeys({VK_ESCAPE});
        break;
    case CancelBy::AltC:
        ASSERT_TRUE(ts::BringToFront(wizard.frame));
        ts::PressKeys({VK_MENU, 'C'});
        break;
    }
    ExpectEndedWithoutInstalling();
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelTest, ::testing::Values(
    CancelCase{false, CancelBy::Click}, CancelCase{false, CancelBy::Escape}, CancelCase{false, CancelBy::AltC},
    CancelCase{true, CancelBy::Click}, CancelCase{true, CancelBy::Escape}, CancelCase{true, CancelBy::AltC}));

// ---- what does not end the wizard ----

// The point of the frame's caption where a click hits its close box.
bool FindCloseBox(HWND frame, POINT* point)
{
    RECT window;
    GetWindowRect(frame, &window);
    for (int y = window.top; y < window.top + 40; ++y)
        for (int x = window.right - 1; x > window.right - 60; --x)
            if (SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                // the middle of the box, not its edge
                point->x = x - 6;
                point->y = y + 6;
                return SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(point->x, point->y)) == HTCLOSE;
            }
    return false;
}

enum class CloseBy { CloseBox, SysCommand, AltF4 };

struct CloseCase {
    bool onLicensePage;
    CloseBy how;
};

class CloseTest : public WizardTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, LeavesTheWizardOpenOnTheSamePage)
{
    Start();
    if (GetParam().onLicensePage)
        ASSERT_TRUE(GoToLicensePage() != NULL);
    HWND page = Page();
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    POINT closeBox;
    switch (GetParam().how) {
    case CloseBy::CloseBox:
        ASSERT_TRUE(FindCloseBox(wizard.frame, &closeBox));
        ts::ClickScreen(closeBox.x, closeBox.y);
        break;
    case CloseBy::SysCommand:
        PostMessageA(wizard.frame, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case CloseBy::AltF4:
        ts::PressKeys({VK_MENU, VK_F4});
        break;
    }
    // Anything the close request set off comes before the Tab that follows it.
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    HWND focus = ts::FocusOf(wizard.frame);
    HWND next = GetNextDlgTabItem(page, focus, FALSE);
    ASSERT_TRUE(next != NULL && next != focus);
    ts::PressKeys({VK_TAB});
    ASSERT_TRUE(ts::WaitUntil([&] { return ts::FocusOf(wizard.frame) == next; }))
        << "the wizard no longer takes keys";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(wizard.child.process, 0));
    EXPECT_TRUE(IsWindowVisible(wizard.frame));
    EXPECT_EQ(page, Page());
    ts::Click(Item(IDCANCEL));
    ExpectEndedWithoutInstalling();
}

INSTANTIATE_TEST_SUITE_P(Pages, CloseTest, ::testing::Values(
    CloseCase{false, CloseBy::CloseBox}, CloseCase{false, CloseBy::SysCommand}, CloseCase{false, CloseBy::AltF4},
    CloseCase{true, CloseBy::CloseBox}, CloseCase{true, CloseBy::SysCommand}, CloseCase{true, CloseBy::AltF4}));

// Navigation requests that name no code change nothing; a posted click on the accept
// choice, queued behind them, shows when they have been handled.
TEST_F(WizardTest, NavigationCodesOutsideTheFourChangeNothing)
{
    const WPARAM codes[] = {4, 5, 1000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, static_cast<WPARAM>(-1),
                            static_cast<WPARAM>(-2), static_cast<WPARAM>(-3)};
    Start();
    HWND page = GoToLicensePage();
    ASSERT_TRUE(page != NULL);
    for (WPARAM code : codes)
        ASSERT_TRUE(PostMessageA(wizard.frame, WM_WIZARD_NAVIGATE, code, 0));
    PostMessageA(GetDlgItem(page, IDC_ACCEPT), BM_CLICK, 0, 0);
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, IDOK)) != FALSE; }))
        << "the wizard ended or moved on";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(wizard.child.process, 0));
    EXPECT_TRUE(IsWindow(page));
    EXPECT_EQ(page, Page());

    // The same channel with a code it knows does act.
    PostMessageA(wizard.frame, WM_WIZARD_NAVIGATE, WIZARD_BACK, 0);
    HWND welcome = wd::WaitForNewPage(wizard.frame, page);
    ASSERT_TRUE(welcome != NULL);
    EXPECT_FALSE(wd::IsLicensePage(welcome));
}

// ---- the header band ----

class HeaderTest : public WizardTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HeaderTest, LabelsSitAtFixedPixels)
{
    Start();
    HWND page = GetParam() ? GoToLicensePage() : Page();
    ASSERT_TRUE(page != NULL);
    std::vector<HWND> labels = wd::HeaderLabels(page);
    ASSERT_EQ(2u, labels.size());
    RECT title = ts::RectIn(labels[0], page);
    RECT subtitle = ts::RectIn(labels[1], page);
    EXPECT_EQ(17, title.left);
    EXPECT_EQ(11, title.top);
    EXPECT_EQ(400, title.right - title.left);
    EXPECT_EQ(30, title.bottom - title.top);
    EXPECT_EQ(28, subtitle.left);
    EXPECT_EQ(33, subtitle.top);
    EXPECT_EQ(400, subtitle.right - subtitle.left);
    EXPECT_EQ(20, subtitle.bottom - subtitle.top);
    for (HWND label : labels) {
        EXPECT_EQ("Static", ts::ClassName(label));
        EXPECT_EQ(WS_CHILD | WS_VISIBLE, GetWindowLongA(label, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        EXPECT_EQ(0, GetWindowLongA(label, GWL_EXSTYLE));
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, HeaderTest, ::testing::Values(false, true));

// The band and the labels' background are pure white even with another window colour;
// the rest of the page keeps the system's colours. Read from the screen.
class ColourTest : public WizardTest, public ::testing::WithParamInterface<bool> {
protected:
    static constexpr COLORREF kWindow = RGB(255, 255, 160);
    static constexpr COLORREF kButtonFace = RGB(200, 210, 230);

    // A visual theme would supply the colours in place of the colour settings.
    void SetUp() override
    {
        WizardTest::SetUp();
        savedTheme = ts::ReadValue(HKEY_CURRENT_USER, kThemeKey, "ThemeActive", &savedThemeType, &savedThemeValue);
        ts::SetValue(HKEY_CURRENT_USER, kThemeKey, "ThemeActive", REG_SZ, std::string("0", 2));
        // The system's colours for this session, as a person sets them.
        const INT elements[] = {COLOR_WINDOW, COLOR_BTNFACE};
        const COLORREF colors[] = {kWindow, kButtonFace};
        for (int i = 0; i < 2; ++i)
            savedColors[i] = GetSysColor(elements[i]);
        ASSERT_TRUE(SetSysColors(2, elements, colors));
    }

    void TearDown() override
    {
        const INT elements[] = {COLOR_WINDOW, COLOR_BTNFACE};
        SetSysColors(2, elements, savedColors);
        HKEY key;
        if (savedTheme) {
            ts::SetValue(HKEY_CURRENT_USER, kThemeKey, "ThemeActive", savedThemeType, savedThemeValue);
        } else if (RegOpenKeyExA(HKEY_CURRENT_USER, kThemeKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "ThemeActive");
            RegCloseKey(key);
        }
        WizardTest::TearDown();
    }

    COLORREF savedColors[2] = {};
    bool savedTheme = false;
    DWORD savedThemeType = 0;
    std::string savedThemeValue;

    COLORREF PixelOf(HWND page, int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(page, &point);
        return ts::ScreenPixel(point.x, point.y);
    }

    static constexpr const char* kThemeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
};

std::string Hex(COLORREF color)
{
    char text[16];
    wsprintfA(text, "%06lX", static_cast<unsigned long>(color));
    return text;
}

TEST_P(ColourTest, BandAndLabelsAreWhite)
{
    Start();
    HWND page = GetParam() ? GoToLicensePage() : Page();
    ASSERT_TRUE(page != NULL);
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    ts::Pause(300);  // let the page paint
    const COLORREF white = RGB(255, 255, 255);

    RECT band = ts::RectIn(GetDlgItem(page, IDC_HEADER_BAND), page);
    // The band outside the labels: its corners and the gap below the subtitle.
    const POINT bandPoints[] = {{band.left + 2, band.top + 2}, {band.left + 2, band.bottom - 2},
                                {band.left + 440, band.top + 5}, {band.left + 440, band.bottom - 2}};
    for (const POINT& point : bandPoints)
        EXPECT_EQ(Hex(white), Hex(PixelOf(page, point.x, point.y))) << "band at " << point.x << "," << point.y;

    // Inside each label's rectangle but beyond its text.
    std::vector<HWND> labels = wd::HeaderLabels(page);
    ASSERT_EQ(2u, labels.size());
    RECT title = ts::RectIn(labels[0], page);
    RECT subtitle = ts::RectIn(labels[1], page);
    EXPECT_EQ(Hex(white), Hex(PixelOf(page, title.right - 5, title.top + 3))) << "title label";
    EXPECT_EQ(Hex(white), Hex(PixelOf(page, subtitle.right - 5, subtitle.top + 12))) << "subtitle label";

    // The system's colours took effect in the program: its dialog face is ours...
    RECT client;
    GetClientRect(page, &client);
    EXPECT_EQ(Hex(kButtonFace), Hex(PixelOf(page, client.right - 4, client.bottom - 40))) << "page background";
    // ...and a static control that is not a header label keeps it.
    HWND other = GetDlgItem(page, GetParam() ? IDC_ACCEPT : IDC_PAGE_TEXT);
    RECT rect = ts::RectIn(other, page);
    EXPECT_EQ(Hex(kButtonFace), Hex(PixelOf(page, rect.right - 3, rect.bottom - 3))) << "other static control";
    EXPECT_NE(Hex(kWindow), Hex(white));
}

INSTANTIATE_TEST_SUITE_P(Pages, ColourTest, ::testing::Values(false, true));

// ---- the keyboard ----

TEST_F(WizardTest, TabAndShiftTabWalkThePageControls)
{
    Start();
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    auto focusId = [&] { return GetDlgCtrlID(ts::FocusOf(wizard.frame)); };
    auto press = [&](std::initializer_list<WORD> keys) {
        HWND before = ts::FocusOf(wizard.frame);
        ts::PressKeys(keys);
        EXPECT_TRUE(ts::WaitUntil([&] { return ts::FocusOf(wizard.frame) != before; }));
        return focusId();
    };
    // Welcome: Back is disabled, so only Next and Cancel take the focus.
    EXPECT_EQ(IDOK, focusId());
    EXPECT_EQ(IDCANCEL, press({VK_TAB}));
    EXPECT_EQ(IDOK, press({VK_TAB}));
    EXPECT_EQ(IDCANCEL, press({VK_SHIFT, VK_TAB}));
    EXPECT_EQ(IDOK, press({VK_SHIFT, VK_TAB}));

    // Licence: the text first, then the choices, Back and Cancel (Finish is disabled).
    // Selecting the decline choice made it a tab stop besides the group's first one.
    HWND welcome = Page();
    ts::PressKeys({VK_RETURN});
    HWND page = wd::WaitForNewPage(wizard.frame, welcome);
    ASSERT_TRUE(page && wd::IsLicensePage(page));
    ASSERT_TRUE(ts::WaitUntil([&] { return focusId() == IDC_PAGE_TEXT; }));
    EXPECT_EQ(IDC_ACCEPT, press({VK_TAB}));
    EXPECT_EQ(IDC_DECLINE, press({VK_TAB}));
    EXPECT_EQ(IDC_BACK, press({VK_TAB}));
    EXPECT_EQ(IDCANCEL, press({VK_TAB}));
    EXPECT_EQ(IDC_PAGE_TEXT, press({VK_TAB}));
    wd::Selection selection = wd::SelectionOf(GetDlgItem(page, IDC_PAGE_TEXT));
    EXPECT_EQ(selection.start, selection.end) << "tabbing into the licence text selected it";
    EXPECT_EQ(IDCANCEL, press({VK_SHIFT, VK_TAB}));
    EXPECT_EQ(IDC_BACK, press({VK_SHIFT, VK_TAB}));
    EXPECT_EQ(IDC_DECLINE, press({VK_SHIFT, VK_TAB}));
    // Still declined: moving the focus chose nothing.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDOK)));
}

TEST_F(WizardTest, MnemonicsAndEnterActOnlyOnEnabledButtons)
{
    Start();
    ASSERT_TRUE(ts::BringToFront(wizard.frame));
    HWND welcome = Page();
    // Alt+B on the welcome page names a disabled button; Alt+N moves on.
    ts::PressKeys({VK_MENU, 'B'});
    ts::PressKeys({VK_MENU, 'N'});
    HWND page = wd::WaitForNewPage(wizard.frame, welcome);
    ASSERT_TRUE(page && wd::IsLicensePage(page));
    HWND finish = GetDlgItem(page, IDOK);

    // Enter and Alt+F with the agreement declined, then Alt+A to see they were handled.
    ts::PressKeys({VK_RETURN});
    ts::PressKeys({VK_MENU, 'F'});
    ts::PressKeys({VK_MENU, 'A'});
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(finish) != FALSE; })) << "Alt+A did not accept";
    EXPECT_EQ(page, Page());
    EXPECT_TRUE(wd::IsChecked(GetDlgItem(page, IDC_ACCEPT)));

    ts::PressKeys({VK_MENU, 'D'});
    ASSERT_TRUE(ts::WaitUntil([&] { return !IsWindowEnabled(finish); })) << "Alt+D did not decline";
    EXPECT_TRUE(wd::IsChecked(GetDlgItem(page, IDC_DECLINE)));
    // Enter on the decline choice must not finish either.
    ts::PressKeys({VK_RETURN});

    ts::PressKeys({VK_MENU, 'B'});
    welcome = wd::WaitForNewPage(wizard.frame, page);
    ASSERT_TRUE(welcome != NULL);
    EXPECT_FALSE(wd::IsLicensePage(welcome));
    EXPECT_FALSE(ts::FolderExists(kInstallFolder));

    ts::PressKeys({VK_MENU, 'C'});
    ExpectEndedWithoutInstalling();
}

// A wizard that cannot be shown installs nothing, says so in its exit status, and
// leaves no window behind.
TEST_F(WizardTest, NoWizardNoInstallation)
{
    wizard.child = ts::Start("\"" + ts::TestBin("setup_no_templates.exe") + "\"");
    DWORD exitCode = 99;
    std::vector<ts::MessageBoxSeen> boxes;
    ASSERT_TRUE(wd::WaitForEnd(wizard, &exitCode, &boxes));
    EXPECT_EQ(2u, exitCode);
    EXPECT_EQ(0u, boxes.size());
    EXPECT_FALSE(ts::FileExists(ts::LaunchRecordOf(kAppManager)));
}

// ---- Finish ----

// Checks a finished installation of the sample package.
void ExpectInstalled()
{
    std::string program = ts::ShippedBin("setup.exe");
    const char* names[] = {"install.ini", "Uninstall.exe", "TideTables.cab"};
    EXPECT_EQ(3u, ts::FolderEntries(kInstallFolder).size());
    for (int id = 1; id <= 3; ++id) {
        std::string expected;
        ASSERT_TRUE(ts::ReadProgramResource(program, 100, id, &expected));
        EXPECT_TRUE(ts::ReadFileBytes(std::string(kInstallFolder) + "\\" + names[id - 1]) == expected) << names[id - 1];
    }
    EXPECT_EQ(kTitle, ts::ReadString(HKEY_LOCAL_MACHINE, UninstallKey(), "DisplayName"));
    // The stand-in appends one line per start: exactly one start.
    std::string launches = ts::ReadFileBytes(ts::LaunchRecordOf(kAppManager));
    EXPECT_EQ("\"" + std::string(kAppManager) + "\" \"" + kInstallFolder + "\\install.ini\"\r\n", launches);
}

enum class FinishBy { Click, Keyboard };

class FinishTest : public WizardTest, public ::testing::WithParamInterface<FinishBy> {};

TEST_P(FinishTest, InstallsOnceAfterTheFrameIsGone)
{
    Start();
    if (GetParam() == FinishBy::Click) {
        HWND page = GoToLicensePage();
        ASSERT_TRUE(page != NULL);
        ts::Click(GetDlgItem(page, IDC_ACCEPT));
        ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, IDOK)) != FALSE; }));
        ts::Click(GetDlgItem(page, IDOK));
    } else {
        ASSERT_TRUE(ts::BringToFront(wizard.frame));
        ts::PressKeys({VK_RETURN});
        ts::PressKeys({VK_MENU, 'A'});
        ts::PressKeys({VK_RETURN});
    }
    // Watch for the first trace of the installation while the frame may still exist.
    bool installedBeforeFrameWent = false;
    ts::WaitUntil([&] {
        bool frameExists = IsWindow(wizard.frame) != FALSE;
        if (frameExists && ts::FolderExists(kInstallFolder))
            installedBeforeFrameWent = true;
        return !frameExists;
    });
    EXPECT_FALSE(installedBeforeFrameWent);
    DWORD exitCode = 99;
    std::vector<ts::MessageBoxSeen> boxes;
    ASSERT_TRUE(wd::WaitForEnd(wizard, &exitCode, &boxes));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(0u, boxes.size());
    ExpectInstalled();
}

INSTANTIATE_TEST_SUITE_P(Ways, FinishTest, ::testing::Values(FinishBy::Click, FinishBy::Keyboard));

// The descriptor's file is held open, so the installation stops with a message. That
// message comes while the installation is under way: no wizard window may exist then.
TEST_F(WizardTest, InstallationRunsWithoutAnyWizardWindow)
{
    ts::CreateFolders(kInstallFolder);
    std::string descriptor = std::string(kInstallFolder) + "\\install.ini";
    HANDLE held = CreateFileA(descriptor.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    Start();
    HWND page = GoToLicensePage();
    ASSERT_TRUE(page != NULL);
    ts::Click(GetDlgItem(page, IDC_ACCEPT));
    ASSERT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, IDOK)) != FALSE; }));
    ts::Click(GetDlgItem(page, IDOK));

    HWND box = NULL;
    ASSERT_TRUE(ts::WaitUntil([&] {
        for (HWND window : ts::WindowsOf(wizard.child.pid))
            if (ts::IsMessageBox(window))
                box = window;
        return box != NULL;
    })) << "no failure message";
    EXPECT_FALSE(IsWindow(wizard.frame));
    EXPECT_EQ(1u, ts::WindowsOf(wizard.child.pid).size());
    EXPECT_TRUE(GetWindow(box, GW_OWNER) == NULL);
    EXPECT_EQ(kInstallFolder, ts::WindowText(box));
    CloseHandle(held);

    DWORD exitCode = 99;
    std::vector<ts::MessageBoxSeen> boxes;
    ASSERT_TRUE(wd::WaitForEnd(wizard, &exitCode, &boxes));
    EXPECT_EQ(1u, exitCode) << "a reported failure ends with status 1";
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("An error occured writing your Pocket PC application to disk. Setup cannot continue and will exit.",
              boxes[0].text);
    EXPECT_FALSE(ts::FileExists(ts::LaunchRecordOf(kAppManager)));
}

}  // namespace
