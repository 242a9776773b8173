#include <gtest/gtest.h>

#include "test_support.h"

namespace {

TEST(Install, SamplePackageSmoke)
{
    std::string appManager = "C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE";
    ts::InstallAppManager(appManager);
    ts::RunResult run = ts::Run("\"" + ts::TestBin("pkg_sample.exe") + "\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.boxes.size());
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("\"C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE\" \"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\install.ini\"",
              ts::WaitForLaunch(appManager));
}

}  // namespace
