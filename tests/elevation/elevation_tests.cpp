// Both shipped programs carry a manifest that asks for administrator rights; they must
// still start where the user already has them.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const char kFolder[] = "C:\\ElevationCheck";

class ShippedPrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ts::RemoveTree(kFolder);
        ts::CreateFolders(kFolder);
    }
    void TearDown() override { ts::RemoveTree(kFolder); }
};

TEST_F(ShippedPrograms, SetupStartsAndShowsItsFirstWindow)
{
    std::string setup = std::string(kFolder) + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(ts::ShippedBin("setup.exe").c_str(), setup.c_str(), FALSE));
    ts::DeleteTree(HKEY_LOCAL_MACHINE, ts::kAppManagerKey);
    ts::Child child = ts::Start("\"" + setup + "\"", kFolder);
    ASSERT_NE(nullptr, child.process);
    HWND first = NULL;
    for (int i = 0; i < 400 && !first; ++i) {
        std::vector<HWND> windows = ts::WindowsOf(child.pid);
        if (!windows.empty())
            first = windows[0];
        ts::Pause(50);
    }
    EXPECT_NE(nullptr, first) << "setup.exe showed no window";
    TerminateProcess(child.process, 0);
    WaitForSingleObject(child.process, 5000);
    ts::Close(child);
}

TEST_F(ShippedPrograms, UninstallerStartsAndEnds)
{
    // An entry name that names nothing: the uninstaller has nothing to remove and ends.
    std::string uninstaller = std::string(kFolder) + "\\Uninstall.exe";
    ASSERT_TRUE(CopyFileA(ts::ShippedBin("Uninstall.exe").c_str(), uninstaller.c_str(), FALSE));
    ts::Child child = ts::Start("\"" + uninstaller + "\" No Such Package", kFolder);
    ASSERT_NE(nullptr, child.process);
    std::vector<ts::MessageBoxSeen> boxes;
    EXPECT_TRUE(ts::WaitAnsweringBoxes(child, &boxes, 30000));
    EXPECT_EQ(0u, ts::ExitCode(child));
    EXPECT_TRUE(boxes.empty());
    ts::Close(child);
}

}  // namespace
