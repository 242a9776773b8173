// The installation sequence, run for real under Wine over the sample package and over
// one small package per shape of fault. Each test program is a separate process, so
// every message box is a real window whose caption and text are read and answered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

const char kNoActiveSync[] = "ActiveSync not found on this computer. Setup cannot continue and will now exit.";
const char kCannotCreateFolder[] = "Could not create install directory. Setup cannot continue and will exit.";
const char kWriteFailed[] = "An error occured writing your Pocket PC application to disk. Setup cannot continue and will exit.";
const char kMissingInformation[] = "The setup files are missing information. Setup cannot continue and will exit.";
const char kUninstallInfoFailed[] = "Could not write uninstall information.";

const char kAppFolder[] = "C:\\Program Files\\Microsoft ActiveSync";
const char kSampleTitle[] = "Tide Tables";
const char kLongTitle[] = "Long Title xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";

const char kSampleDescriptor[] =
    "[CEAppManager]\r\n"
    "Version      = 1.0\r\n"
    "Component    = Tide Tables\r\n"
    "\r\n"
    "[Tide Tables]\r\n"
    "Description  = TideTables\r\n"
    "Uninstall    = TideTables\r\n"
    "CabFiles     = TideTables.cab\r\n";

// Titles of every package these tests install, so each test starts clean.
const char* const kTitles[] = {"Tide Tables", "Gap Package", "Nameless First", "No First", "Zero Byte",
                               "Escaping Name", "Long Name", "Long Descriptor", kLongTitle};

std::string AppManager() { return std::string(kAppFolder) + "\\CEAPPMGR.EXE"; }
std::string InstallFolder(const std::string& title) { return std::string(kAppFolder) + "\\" + title; }
std::string EntryKey(const std::string& title) { return std::string(ts::kUninstallRoot) + "\\" + title; }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Package(const std::string& name) { return ts::TestBin("pkg_" + name + ".exe"); }

ts::RunResult RunPackage(const std::string& name)
{
    return ts::Run(Quoted(Package(name)));
}

::testing::AssertionResult SameBoxes(const std::vector<ts::MessageBoxSeen>& expected, const std::vector<ts::MessageBoxSeen>& seen)
{
    bool same = expected.size() == seen.size();
    for (size_t i = 0; same && i < seen.size(); ++i)
        same = expected[i].caption == seen[i].caption && expected[i].text == seen[i].text;
    if (same)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected " << expected.size() << " message box(es):";
    for (const ts::MessageBoxSeen& box : expected)
        failure << "\n  [" << box.caption << "] " << box.text;
    failure << "\nseen " << seen.size() << ":";
    for (const ts::MessageBoxSeen& box : seen)
        failure << "\n  [" << box.caption << "] " << box.text;
    return failure;
}

// A launch that did not happen leaves no record; the stand-in would have written it
// within moments of the setup program's end.
bool LaunchRecorded(const std::string& appManager)
{
    return !ts::WaitForLaunch(appManager, 1500).empty();
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        ts::DeleteTree(HKEY_LOCAL_MACHINE, ts::kAppManagerKey);
        ts::DeleteTree(HKEY_LOCAL_MACHINE, ts::kAppManagerKey, KEY_WOW64_32KEY);
        ts::CreateKey(HKEY_LOCAL_MACHINE, ts::kUninstallRoot);
        for (const char* title : kTitles)
            ts::DeleteTree(HKEY_LOCAL_MACHINE, EntryKey(title));
        for (const char* path : {kAppFolder, "C:\\Sync", "C:\\Deep", "C:\\Program Files\\Escaped", "C:\\Program.exe",
                                 "C:\\ceappmgr-launch.txt", "C:\\Tide Tables"})
            ts::RemoveTree(path);
    }
};

TEST_F(Installation, SamplePackageIsWrittenRegisteredAndHandedOver)
{
    ts::InstallAppManager(AppManager());
    // An unquoted launch would start C:\Program.exe first.
    ASSERT_TRUE(CopyFileA(ts::TestBin("appmgr_standin.exe").c_str(), "C:\\Program.exe", FALSE));

    ts::RunResult run = RunPackage("sample");
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({}, run.boxes));
    EXPECT_EQ(0u, run.exitCode);

    std::string folder = InstallFolder(kSampleTitle);
    EXPECT_EQ((std::vector<std::string>{"TideTables.cab", "Uninstall.exe", "install.ini"}), ts::FolderEntries(folder));
    const char* names[] = {"install.ini", "Uninstall.exe", "TideTables.cab"};
    for (int id = 1; id <= 3; ++id) {
        SCOPED_TRACE(names[id - 1]);
        std::string resource;
        ASSERT_TRUE(ts::ReadProgramResource(Package("sample"), 100, id, &resource));
        EXPECT_FALSE(resource.empty());
        EXPECT_TRUE(ts::ReadFileBytes(folder + "\\" + names[id - 1]) == resource) << "not byte for byte its resource";
    }
    EXPECT_EQ(kSampleDescriptor, ts::ReadFileBytes(folder + "\\install.ini"));
    EXPECT_TRUE(ts::ReadFileBytes(folder + "\\Uninstall.exe") == ts::ReadFileBytes(ts::ShippedBin("Uninstall.exe")));

    std::string entry = EntryKey(kSampleTitle);
    EXPECT_EQ((std::vector<std::string>{"DisplayName", "UninstallString"}), ts::ValueNames(HKEY_LOCAL_MACHINE, entry));
    EXPECT_EQ(kSampleTitle, ts::ReadString(HKEY_LOCAL_MACHINE, entry, "DisplayName"));
    EXPECT_EQ("\"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\Uninstall.exe\" Tide Tables",
              ts::ReadString(HKEY_LOCAL_MACHINE, entry, "UninstallString"));

    EXPECT_EQ("\"C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE\" "
              "\"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\install.ini\"",
              ts::WaitForLaunch(AppManager()));
    EXPECT_FALSE(ts::FileExists("C:\\ceappmgr-launch.txt")) << "C:\\Program.exe was started";
}

TEST_F(Installation, SecondRunOverwritesSetupFilesAndKeepsOthers)
{
    ts::InstallAppManager(AppManager());
    ASSERT_TRUE(RunPackage("sample").finished);
    std::string folder = InstallFolder(kSampleTitle);
    ASSERT_TRUE(ts::WriteFileBytes(folder + "\\install.ini", "stale"));
    ASSERT_TRUE(ts::WriteFileBytes(folder + "\\notes.txt", "the user's own notes"));
    ts::SetValue(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle), "Publisher", REG_SZ, std::string("Someone", 8));

    // The Application Manager has moved since: the entry follows the latest run.
    std::string moved = "C:\\Sync\\CEAPPMGR.EXE";
    ts::InstallAppManager(moved);
    ts::CreateFolders("C:\\Sync\\Tide Tables");
    ASSERT_TRUE(ts::WriteFileBytes("C:\\Sync\\Tide Tables\\install.ini", "stale"));
    ASSERT_TRUE(ts::WriteFileBytes("C:\\Sync\\Tide Tables\\notes.txt", "the user's own notes"));

    ts::RunResult run = RunPackage("sample");
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({}, run.boxes));
    EXPECT_EQ(kSampleDescriptor, ts::ReadFileBytes("C:\\Sync\\Tide Tables\\install.ini"));
    EXPECT_EQ("the user's own notes", ts::ReadFileBytes("C:\\Sync\\Tide Tables\\notes.txt"));
    EXPECT_EQ("\"C:\\Sync\\Tide Tables\\Uninstall.exe\" Tide Tables",
              ts::ReadString(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle), "UninstallString"));
    EXPECT_EQ("Someone", ts::ReadString(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle), "Publisher"));
    EXPECT_EQ("\"C:\\Sync\\CEAPPMGR.EXE\" \"C:\\Sync\\Tide Tables\\install.ini\"", ts::WaitForLaunch(moved));
    // The first location was left as the earlier run wrote it.
    EXPECT_EQ("stale", ts::ReadFileBytes(folder + "\\install.ini"));
}

struct AppPathsCase {
    const char* what;
    bool createKey;
    bool setValue;
    DWORD type;
    std::string value;  // stored exactly, terminator included only where given
};

std::string WithNul(const std::string& text) { return text + std::string(1, '\0'); }

TEST_F(Installation, ApplicationManagerNotLocated)
{
    const std::string longPath = "C:\\Sync\\" + std::string(290, 'd') + "\\CEAPPMGR.EXE";
    const std::string exactly260 = "C:\\Sync\\" + std::string(260 - 8 - 13, 'd') + "\\CEAPPMGR.EXE";
    ASSERT_EQ(260u, exactly260.size());
    const AppPathsCase cases[] = {
        {"no key", false, false, REG_SZ, ""},
        {"no default value", true, false, REG_SZ, ""},
        {"empty value", true, true, REG_SZ, WithNul("")},
        {"no backslash", true, true, REG_SZ, WithNul("CEAPPMGR.EXE")},
        {"longer than its buffer", true, true, REG_SZ, WithNul(longPath)},
        {"260 characters without a terminator", true, true, REG_SZ, exactly260},
    };
    for (const AppPathsCase& c : cases) {
        SCOPED_TRACE(c.what);
        Clean();
        if (c.createKey)
            ts::CreateKey(HKEY_LOCAL_MACHINE, ts::kAppManagerKey);
        if (c.setValue)
            ts::SetValue(HKEY_LOCAL_MACHINE, ts::kAppManagerKey, NULL, c.type, c.value);

        ts::RunResult run = RunPackage("sample");
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(SameBoxes({{"Setup", kNoActiveSync}}, run.boxes));
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle)));
        EXPECT_FALSE(ts::FolderExists("C:\\Tide Tables"));
        EXPECT_FALSE(ts::FolderExists("C:\\Sync"));
    }
}

TEST_F(Installation, ApplicationManagerPathIsUsedAsStored)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string value;
    } cases[] = {
        {"stored without a terminator", REG_SZ, "C:\\Sync\\CEAPPMGR.EXE"},
        {"stored as an expandable string", REG_EXPAND_SZ, WithNul("C:\\Sync\\CEAPPMGR.EXE")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clean();
        ts::InstallAppManager("C:\\Sync\\CEAPPMGR.EXE");
        ts::SetValue(HKEY_LOCAL_MACHINE, ts::kAppManagerKey, NULL, c.type, c.value);
        ts::RunResult run = RunPackage("sample");
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(SameBoxes({}, run.boxes));
        EXPECT_EQ("\"C:\\Sync\\CEAPPMGR.EXE\" \"C:\\Sync\\Tide Tables\\install.ini\"",
                  ts::WaitForLaunch("C:\\Sync\\CEAPPMGR.EXE"));
    }

    // Nothing is expanded: the variable stays in the folder's name.
    Clean();
    ts::SetValue(HKEY_LOCAL_MACHINE, ts::kAppManagerKey, NULL, REG_EXPAND_SZ, WithNul("C:\\%SystemDrive%\\CEAPPMGR.EXE"));
    ts::RunResult run = RunPackage("sample");
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{"C:\\%SystemDrive%\\Tide Tables", kCannotCreateFolder}}, run.boxes));
}

TEST_F(Installation, ApplicationManagerFolderGone)
{
    ts::SetValue(HKEY_LOCAL_MACHINE, ts::kAppManagerKey, NULL, REG_SZ, WithNul("C:\\Sync\\CEAPPMGR.EXE"));
    ts::RunResult run = RunPackage("sample");
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{"C:\\Sync\\Tide Tables", kCannotCreateFolder}}, run.boxes));
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_FALSE(ts::FolderExists("C:\\Sync"));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle)));
}

TEST_F(Installation, SetupFileCannotBeWritten)
{
    struct Case {
        const char* what;
        void (*prepare)(const std::string& folder);
    } cases[] = {
        {"a file stands where the folder goes",
         [](const std::string& folder) { ASSERT_TRUE(ts::WriteFileBytes(folder, "not a folder")); }},
        // (A read-only file would do on Windows; Wine running as root writes it anyway.)
        {"a folder of a setup file's name",
         [](const std::string& folder) { ts::CreateFolders(folder + "\\TideTables.cab"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clean();
        ts::InstallAppManager(AppManager());
        std::string folder = InstallFolder(kSampleTitle);
        c.prepare(folder);
        ts::RunResult run = RunPackage("sample");
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(SameBoxes({{folder, kWriteFailed}}, run.boxes));
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle)));
        EXPECT_FALSE(LaunchRecorded(AppManager()));
    }
}

TEST_F(Installation, UninstallRootMissingStillHandsOver)
{
    ts::InstallAppManager(AppManager());
    ts::DeleteTree(HKEY_LOCAL_MACHINE, ts::kUninstallRoot);
    ASSERT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, ts::kUninstallRoot));

    ts::RunResult run = RunPackage("sample");
    ts::CreateKey(HKEY_LOCAL_MACHINE, ts::kUninstallRoot);
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{"Setup", kUninstallInfoFailed}}, run.boxes));
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ(3u, ts::FolderEntries(InstallFolder(kSampleTitle)).size());
    EXPECT_FALSE(ts::WaitForLaunch(AppManager()).empty()) << "the Application Manager is started all the same";
}

// A 64-bit program finds an Application Manager that registered itself only in the
// 32-bit view; the uninstall entry stays in the program's own view. (The test
// program looks under a key of its own, which Wine keeps apart between the views.)
const char kViewTestKey[] = "Software\\PocketSetupTests\\App Paths\\CEAPPMGR.EXE";

TEST_F(Installation, ApplicationManagerInTheOtherRegistryView)
{
    ts::DeleteTree(HKEY_LOCAL_MACHINE, "Software\\PocketSetupTests");
    ts::DeleteTree(HKEY_LOCAL_MACHINE, "Software\\PocketSetupTests", KEY_WOW64_32KEY);

    // In neither view: the program reports it.
    ts::RunResult missing = ts::Run(Quoted(Package("sample_viewtest")));
    ASSERT_TRUE(missing.finished);
    EXPECT_TRUE(SameBoxes({{"Setup", kNoActiveSync}}, missing.boxes));

    ts::InstallAppManager(AppManager());
    ts::SetValue(HKEY_LOCAL_MACHINE, kViewTestKey, NULL, REG_SZ, WithNul(AppManager()), KEY_WOW64_32KEY);
    ASSERT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, kViewTestKey)) << "the views are not kept apart here";

    ts::RunResult run = ts::Run(Quoted(Package("sample_viewtest")));
    ts::DeleteTree(HKEY_LOCAL_MACHINE, "Software\\PocketSetupTests", KEY_WOW64_32KEY);
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({}, run.boxes));
    EXPECT_EQ("\"C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE\" "
              "\"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\install.ini\"",
              ts::WaitForLaunch(AppManager()));
    EXPECT_TRUE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle)));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, std::string("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kSampleTitle));
}

struct VariantCase {
    const char* package;
    const char* title;  // null: the package's title is unusable
    std::vector<ts::MessageBoxSeen> boxes;
    std::vector<std::string> files;  // what the install folder holds afterwards
    bool registered;
};

TEST_F(Installation, PackageVariants)
{
    const VariantCase cases[] = {
        {"gap", "Gap Package", {}, {"install.ini", "second.txt"}, true},
        {"zero_byte", "Zero Byte", {}, {"empty.dat", "install.ini"}, true},
        {"nameless_first", "Nameless First", {{InstallFolder("Nameless First"), kWriteFailed}}, {}, false},
        {"no_first", "No First", {{"Setup", kMissingInformation}}, {}, false},
        {"escaping_name", "Escaping Name", {{InstallFolder("Escaping Name"), kWriteFailed}}, {"install.ini"}, false},
        {"long_file_name", "Long Name", {{InstallFolder("Long Name"), kWriteFailed}}, {"install.ini"}, false},
        {"long_title", kLongTitle, {}, {"install.ini"}, true},
        {"no_title", nullptr, {{"Setup", kMissingInformation}}, {}, false},
        {"empty_title", nullptr, {{"Setup", kMissingInformation}}, {}, false},
        {"escaping_title", nullptr, {{"Setup", kMissingInformation}}, {}, false},
    };
    for (const VariantCase& c : cases) {
        SCOPED_TRACE(c.package);
        Clean();
        ts::InstallAppManager(AppManager());
        ts::RunResult run = RunPackage(c.package);
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(SameBoxes(c.boxes, run.boxes));
        EXPECT_EQ(c.boxes.empty() ? 0u : 1u, run.exitCode);
        EXPECT_EQ(c.registered, LaunchRecorded(AppManager()));
        if (c.title) {
            EXPECT_EQ(c.files, ts::FolderEntries(InstallFolder(c.title)));
            EXPECT_EQ(c.registered, ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(c.title)));
        } else {
            // Nothing was created: not beside the Application Manager, not above it,
            // and nothing was written onto the Uninstall root itself.
            EXPECT_EQ((std::vector<std::string>{"CEAPPMGR.EXE"}), ts::FolderEntries(kAppFolder));
            EXPECT_FALSE(ts::FolderExists("C:\\Program Files\\Escaped"));
            EXPECT_TRUE(ts::ValueNames(HKEY_LOCAL_MACHINE, ts::kUninstallRoot).empty());
        }
        EXPECT_FALSE(ts::FileExists(std::string(kAppFolder) + "\\escaped.txt"));
    }
}

TEST_F(Installation, ZeroByteSetupFileIsAnEmptyFile)
{
    ts::InstallAppManager(AppManager());
    ASSERT_TRUE(RunPackage("zero_byte").finished);
    std::string path = InstallFolder("Zero Byte") + "\\empty.dat";
    ASSERT_TRUE(ts::FileExists(path));
    EXPECT_EQ("", ts::ReadFileBytes(path));
}

// Strings that would not fit their 260-byte buffers end the sequence with the
// message of their step; nothing overflows and nothing further happens.
TEST_F(Installation, InstallFolderTooLong)
{
    std::string appFolder = "C:\\Deep\\" + std::string(185, 'd');
    ts::InstallAppManager(appFolder + "\\CEAPPMGR.EXE");
    ASSERT_GT(appFolder.size() + 1 + 79, 259u);
    ts::RunResult run = ts::Run(Quoted(Package("long_title")));
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{appFolder + "\\", kCannotCreateFolder}}, run.boxes));
    EXPECT_EQ((std::vector<std::string>{"CEAPPMGR.EXE"}), ts::FolderEntries(appFolder));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kLongTitle)));
}

TEST_F(Installation, DescriptorArgumentTooLong)
{
    // Install folder of 227 characters: "<folder>\<31-character name>" is 259 and fits,
    // the quoted argument (261) does not.
    std::string appFolder = "C:\\Deep\\" + std::string(227 - 16 - 8, 'd');
    std::string folder = appFolder + "\\Long Descriptor";
    ASSERT_EQ(227u, folder.size());
    ts::InstallAppManager(appFolder + "\\CEAPPMGR.EXE");
    ts::RunResult run = ts::Run(Quoted(Package("long_descriptor_name")));
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{"Setup", kMissingInformation}}, run.boxes));
    EXPECT_EQ((std::vector<std::string>{"descriptor-with-a-long-name.ini"}), ts::FolderEntries(folder));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey("Long Descriptor")));
    EXPECT_FALSE(LaunchRecorded(appFolder + "\\CEAPPMGR.EXE"));
}

TEST_F(Installation, CommandLineTooLong)
{
    // Every path fits, but the program path and the argument together do not.
    std::string appFolder = "C:\\Deep\\" + std::string(120, 'c');
    ts::InstallAppManager(appFolder + "\\CEAPPMGR.EXE");
    ts::RunResult run = RunPackage("sample");
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(SameBoxes({{"Setup", kMissingInformation}}, run.boxes));
    EXPECT_EQ(3u, ts::FolderEntries(appFolder + "\\Tide Tables").size());
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(kSampleTitle)));
    EXPECT_FALSE(LaunchRecorded(appFolder + "\\CEAPPMGR.EXE"));
}

}  // namespace
