// The real Uninstall.exe, started the way the add/remove list starts it: the entry's
// "UninstallString" as the command line, current folder C:\. Each test waits for the
// uninstaller and then for its hidden script to end, and checks disk and registry.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const char kScript[] = "C:\\DelUS.bat";
const char kAppFolder[] = "C:\\Program Files\\Microsoft ActiveSync";
const char kTitle[] = "Tide Tables";
const char kTestFolder[] = "C:\\UninstallTest";
const DWORD kScriptTimeoutMs = 30000;

std::string InstallFolder(const std::string& title) { return std::string(kAppFolder) + "\\" + title; }
std::string ProgramIn(const std::string& folder) { return folder + "\\Uninstall.exe"; }
std::string EntryPath(const std::string& name) { return std::string(ts::kUninstallRoot) + "\\" + name; }
std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

// The command that the setup program records for `program` and `title`.
std::string RecordedCommand(const std::string& program, const std::string& title)
{
    return "\"" + program + "\" " + title;
}

void PlaceUninstaller(const std::string& program)
{
    ts::CreateFolders(program.substr(0, program.rfind('\\')));
    ASSERT_TRUE(CopyFileA(ts::ShippedBin("Uninstall.exe").c_str(), program.c_str(), FALSE)) << program;
}

void RecordEntry(const std::string& name, const std::string& command)
{
    ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath(name), "DisplayName", REG_SZ, Sz(name));
    ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath(name), "UninstallString", REG_SZ, Sz(command));
}

void WriteFiles(const std::string& folder, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        std::string path = folder + "\\" + name;
        ts::CreateFolders(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(ts::WriteFileBytes(path, "contents of " + name + "\r\n")) << path;
    }
}

// Files below `folder`, relative to it, sorted; folders end with a backslash.
void CollectTree(const std::string& folder, const std::string& prefix, std::vector<std::string>* out)
{
    for (const std::string& name : ts::FolderEntries(folder)) {
        std::string path = folder + "\\" + name;
        if (ts::FolderExists(path)) {
            out->push_back(prefix + name + "\\");
            CollectTree(path, prefix + name + "\\", out);
        } else {
            out->push_back(prefix + name);
        }
    }
}

std::vector<std::string> Tree(const std::string& folder)
{
    std::vector<std::string> names;
    CollectTree(folder, "", &names);
    return names;
}

struct Outcome {
    bool uninstallerEnded = false;
    DWORD exitCode = 0xbdbdbdbd;
    std::vector<ts::MessageBoxSeen> boxes;
    std::vector<DWORD> scriptProcesses;
    bool scriptEnded = false;
};

// Starts `command` as the add/remove list does, waits for the uninstaller, then for
// every process it started and for the script file to go. `whileScriptRuns` is called
// with the script's processes before the wait. A script that does not end in time is
// killed and reported.
Outcome Uninstall(const std::string& command, const std::function<void(const Outcome&)>& whileScriptRuns = nullptr,
                  const std::string& program = std::string())
{
    Outcome outcome;
    ts::Child child = ts::StartProgram(program, command, "C:\\");
    if (!child.process)
        return outcome;
    outcome.uninstallerEnded = ts::WaitAnsweringBoxes(child, &outcome.boxes, 30000);
    outcome.exitCode = ts::ExitCode(child);
    outcome.scriptProcesses = ts::DescendantsOf(child.pid);

    std::vector<HANDLE> processes;
    for (DWORD pid : outcome.scriptProcesses) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        if (process)
            processes.push_back(process);
    }
    if (whileScriptRuns)
        whileScriptRuns(outcome);

    DWORD start = GetTickCount();
    for (;;) {
        bool running = ts::FileExists(kScript);
        for (HANDLE process : processes)
            running = running || WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        if (!running) {
            outcome.scriptEnded = true;
            break;
        }
        if (GetTickCount() - start > kScriptTimeoutMs) {
            for (HANDLE process : processes)
                TerminateProcess(process, 255);
            ADD_FAILURE() << "the self-removal script did not end within " << kScriptTimeoutMs << " ms";
            break;
        }
        Sleep(50);
    }
    for (HANDLE process : processes)
        CloseHandle(process);
    ts::Close(child);
    return outcome;
}

::testing::AssertionResult EndedCleanly(const Outcome& outcome)
{
    if (!outcome.uninstallerEnded)
        return ::testing::AssertionFailure() << "the uninstaller did not end";
    if (outcome.exitCode != 0)
        return ::testing::AssertionFailure() << "exit code " << outcome.exitCode;
    if (!outcome.boxes.empty())
        return ::testing::AssertionFailure() << "it showed a message box: " << outcome.boxes[0].text;
    if (!outcome.scriptEnded)
        return ::testing::AssertionFailure() << "its script did not end";
    if (ts::FileExists(kScript))
        return ::testing::AssertionFailure() << kScript << " is still there";
    return ::testing::AssertionSuccess();
}

class Uninstaller : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(kScript);
        ts::RemoveTree(kTestFolder);
        ts::RemoveTree(InstallFolder(kTitle));
        ts::RemoveTree(InstallFolder("Other Package"));
        for (const std::string& name : ts::SubKeyNames(HKEY_LOCAL_MACHINE, ts::kUninstallRoot))
            ts::DeleteTree(HKEY_LOCAL_MACHINE, EntryPath(name));
        // someone else's entry and files, which must never be touched
        RecordEntry("Other Package", RecordedCommand(ProgramIn(InstallFolder("Other Package")), "Other Package"));
        WriteFiles(InstallFolder("Other Package"), {"Uninstall.exe", "install.ini"});
        WriteFiles(kAppFolder, {"CEAPPMGR.EXE"});
    }

    void TearDown() override
    {
        EXPECT_TRUE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath("Other Package")));
        EXPECT_EQ((std::vector<std::string>{"Uninstall.exe", "install.ini"}), Tree(InstallFolder("Other Package")));
        EXPECT_TRUE(ts::FileExists(std::string(kAppFolder) + "\\CEAPPMGR.EXE"));
    }

    // Places the uninstaller and the package's files in the install folder of `title`
    // and records its entry, as the setup program does.
    std::string Install(const std::string& title)
    {
        std::string folder = InstallFolder(title);
        PlaceUninstaller(ProgramIn(folder));
        WriteFiles(folder, {"install.ini", "TideTables.cab"});
        RecordEntry(title, RecordedCommand(ProgramIn(folder), title));
        return folder;
    }
};

TEST_F(Uninstaller, RemovesEntryWithoutSubKeysAndTheInstallFolder)
{
    std::string folder = Install(kTitle);
    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, RemovesEntryWithSubKeysThreeDeep)
{
    std::string folder = Install(kTitle);
    for (const char* key : {"Settings\\Device\\Last", "Settings\\Device\\First", "Settings\\Desktop", "Cache\\A\\B"})
        ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\" + key, "Value", REG_DWORD, std::string("\1\0\0\0", 4));
    ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath("Tide Tables 2"), "Value", REG_SZ, Sz("beside, with a longer name"));

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_TRUE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath("Tide Tables 2")));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, SubKeyThatCannotBeRemovedKeepsItsChainAndTheScriptStillRuns)
{
    std::string folder = Install(kTitle);
    ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\A Before\\Below");
    ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Level1\\Level2");
    ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Z After");
    // Cyrillic: RegEnumKeyExA spells it "M??", which no key is called
    HKEY level2;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (EntryPath(kTitle) + "\\Level1\\Level2").c_str(), 0,
                                           KEY_ALL_ACCESS, &level2));
    HKEY unspellable;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(level2, L"M\x0416\x0436", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &unspellable, NULL));
    RegCloseKey(unspellable);
    RegCloseKey(level2);

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_EQ((std::vector<std::string>{"Level1", "Z After"}), ts::SubKeyNames(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_EQ(std::vector<std::string>{"Level2"}, ts::SubKeyNames(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Level1"));
    EXPECT_EQ(std::vector<std::string>{"M??"}, ts::SubKeyNames(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Level1\\Level2"));
    EXPECT_EQ("\"" + ProgramIn(folder) + "\" " + kTitle, ts::ReadString(HKEY_LOCAL_MACHINE, EntryPath(kTitle), "UninstallString"));
    // the entry recorded this folder before anything was removed
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, NameWithBackslashesRemovesOnlyTheLastKey)
{
    std::string folder = Install(kTitle);
    std::string name = std::string(kTitle) + "\\Inner";
    RecordEntry(name, RecordedCommand(ProgramIn(folder), name));
    ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(name) + "\\Below\\Deeper");
    ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Beside");

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), name))));
    EXPECT_EQ(std::vector<std::string>{"Beside"}, ts::SubKeyNames(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_EQ(std::string(kTitle), ts::ReadString(HKEY_LOCAL_MACHINE, EntryPath(kTitle), "DisplayName"));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, EmptyNameRemovesNoKeyAndOnlyTheProgramFile)
{
    std::string folder = Install(kTitle);
    for (const std::string& command : {"\"" + ProgramIn(folder) + "\"", "\"" + ProgramIn(folder) + "\"   "}) {
        SCOPED_TRACE(command);
        PlaceUninstaller(ProgramIn(folder));
        std::vector<std::string> entries = ts::SubKeyNames(HKEY_LOCAL_MACHINE, ts::kUninstallRoot);
        ASSERT_TRUE(EndedCleanly(Uninstall(command)));
        EXPECT_EQ(entries, ts::SubKeyNames(HKEY_LOCAL_MACHINE, ts::kUninstallRoot));
        // no entry names this folder, so its other files stay
        EXPECT_EQ((std::vector<std::string>{"TideTables.cab", "install.ini"}), Tree(folder));
    }
}

TEST_F(Uninstaller, WritesExactlyTheScriptOverAnOldOneAndRunsItHidden)
{
    std::string folder = Install(kTitle);
    std::string program = ProgramIn(folder);
    // an old, longer script from an earlier run
    std::string old;
    for (int i = 0; i < 200; ++i)
        old += "echo an old script that must be replaced\r\n";
    ASSERT_TRUE(ts::WriteFileBytes(kScript, old));

    // Held open without delete sharing, the program file cannot go, so the script
    // keeps retrying while its text is read.
    HANDLE held = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::string written;
    bool sawWindow = true;
    bool programWhileHeld = false;
    bool scriptRanWhileHeld = false;
    Outcome outcome = Uninstall(RecordedCommand(program, kTitle), [&](const Outcome& running) {
        Sleep(1000);
        written = ts::ReadFileBytes(kScript);
        programWhileHeld = ts::FileExists(program);
        scriptRanWhileHeld = false;
        for (DWORD pid : running.scriptProcesses) {
            HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
            if (!process)
                continue;
            char image[MAX_PATH] = "";
            DWORD length = MAX_PATH;
            QueryFullProcessImageNameA(process, 0, image, &length);
            // Wine's cmd.exe runs the script (Wine 8 leaves it at normal priority whatever
            // the creation flags ask, so the priority cannot be checked here)
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT && lstrcmpiA(image, "C:\\windows\\system32\\cmd.exe") == 0)
                scriptRanWhileHeld = true;
            CloseHandle(process);
        }
        sawWindow = false;
        for (DWORD pid : running.scriptProcesses)
            sawWindow = sawWindow || !ts::WindowsOf(pid).empty();
        CloseHandle(held);
    });
    ASSERT_TRUE(EndedCleanly(outcome));

    std::string expected = ":Repeat\r\n"
                           "del \"" + program + "\"\r\n"
                           "if exist \"" + program + "\" goto Repeat\r\n"
                           "del \"" + folder + "\\*.*\" /F /S /Q\r\n"
                           "rmdir \"" + folder + "\"\r\n"
                           "del \"\\DelUS.bat\"\r\n";
    EXPECT_EQ(expected, written);
    EXPECT_EQ(91u + 2 * program.size() + 2 * folder.size(), written.size());
    EXPECT_TRUE(programWhileHeld);
    EXPECT_TRUE(scriptRanWhileHeld) << "no command interpreter was waiting for the program file";
    EXPECT_FALSE(sawWindow) << "the script showed a window";
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, DeletesReadOnlyFilesAndFilesOfSubFoldersButKeepsTheFolders)
{
    std::string folder = Install(kTitle);
    WriteFiles(folder, {"readonly.txt", "Data\\harbours.txt", "Data\\More\\tides.txt", "Empty\\x.txt"});
    for (const char* file : {"readonly.txt", "Data\\More\\tides.txt"})
        ASSERT_TRUE(SetFileAttributesA((folder + "\\" + file).c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_EQ((std::vector<std::string>{"Data\\", "Data\\More\\", "Empty\\"}), Tree(folder));
}

// ---- faults of the plain design, each fixed ----

struct ElsewhereCase {
    const char* what;
    std::string programFolder;        // where the uninstaller is started from
    bool recordEntry;
    bool recordUninstallString;
    std::string recordedProgram;      // what the entry's command starts
};

void PrintTo(const ElsewhereCase& c, std::ostream* os) { *os << c.what; }

class UninstallerElsewhere : public Uninstaller, public ::testing::WithParamInterface<ElsewhereCase> {};

TEST_P(UninstallerElsewhere, LosesNoOtherFile)
{
    const ElsewhereCase& c = GetParam();
    std::string installFolder = Install(kTitle);
    ts::DeleteTree(HKEY_LOCAL_MACHINE, EntryPath(kTitle));
    if (c.recordEntry) {
        ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath(kTitle), "DisplayName", REG_SZ, Sz(kTitle));
        ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kTitle) + "\\Sub");
    }
    if (c.recordUninstallString)
        RecordEntry(kTitle, RecordedCommand(c.recordedProgram, kTitle));

    std::string program = ProgramIn(c.programFolder);
    PlaceUninstaller(program);
    std::vector<std::string> others = {"photo.jpg", "setup.exe", "Sub\\letter.txt", "Sub\\Deeper\\notes.txt"};
    WriteFiles(c.programFolder, others);

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(program, kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_FALSE(ts::FileExists(program));
    EXPECT_EQ((std::vector<std::string>{"Sub\\", "Sub\\Deeper\\", "Sub\\Deeper\\notes.txt", "Sub\\letter.txt", "photo.jpg",
                                        "setup.exe"}),
              Tree(c.programFolder));
    EXPECT_EQ((std::vector<std::string>{"TideTables.cab", "Uninstall.exe", "install.ini"}), Tree(installFolder));
}

const ElsewhereCase kElsewhere[] = {
    {"a downloads folder, the entry naming the install folder", "C:\\UninstallTest\\Downloads", true, true,
     "C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\Uninstall.exe"},
    {"a shared folder, the entry without a command", "C:\\UninstallTest\\Shared Tools", true, false, ""},
    {"a shared folder, no entry at all", "C:\\UninstallTest\\Shared Tools", false, false, ""},
    {"a shared folder, the entry naming another program there", "C:\\UninstallTest\\Shared Tools", true, true,
     "C:\\UninstallTest\\Shared Tools\\Remove.exe"},
    {"a shared folder, the entry naming the folder itself", "C:\\UninstallTest\\Shared Tools", true, true,
     "C:\\UninstallTest\\Shared Tools"},
};

INSTANTIATE_TEST_SUITE_P(Table, UninstallerElsewhere, ::testing::ValuesIn(kElsewhere));

TEST_F(Uninstaller, UnquotedRecordedPathWithBlanks)
{
    std::string folder = Install(kTitle);
    RecordEntry(kTitle, ProgramIn(folder) + " " + kTitle);  // as older setups recorded it
    // named apart, so that Wine hands the command line over unquoted, as Windows does
    ASSERT_TRUE(EndedCleanly(Uninstall(ProgramIn(folder) + " " + kTitle, nullptr, ProgramIn(folder))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, EntryTreeOfTheRegistrysFullDepth)
{
    // the entry and 511 levels below it: 512 levels, each one open while its
    // sub-keys go, one name buffer per level on the stack
    std::string folder = Install(kTitle);
    HKEY current;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath(kTitle).c_str(), 0, KEY_ALL_ACCESS, &current));
    for (int level = 1; level < 512; ++level) {
        HKEY next;
        std::string name = "Level " + std::to_string(level) + std::string(200, 'x');
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(current, name.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &next, NULL)) << level;
        RegCloseKey(current);
        current = next;
    }
    RegCloseKey(current);

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, ReadOnlyProgramFileIsRemoved)
{
    std::string folder = Install(kTitle);
    ASSERT_TRUE(SetFileAttributesA(ProgramIn(folder).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::FolderExists(folder));
}

TEST_F(Uninstaller, PercentSignInTheFolderNamesNoOtherFolder)
{
    // Unescaped, "C:\UninstallTest\100%\Tide Tables" would read as C:\UninstallTest\100\Tide Tables.
    std::string folder = std::string(kTestFolder) + "\\100%\\Tide Tables";
    std::string decoy = std::string(kTestFolder) + "\\100\\Tide Tables";
    PlaceUninstaller(ProgramIn(folder));
    WriteFiles(folder, {"install.ini"});
    RecordEntry(kTitle, RecordedCommand(ProgramIn(folder), kTitle));
    PlaceUninstaller(ProgramIn(decoy));
    WriteFiles(decoy, {"install.ini"});

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));
    EXPECT_FALSE(ts::FolderExists(folder));
    EXPECT_EQ((std::vector<std::string>{"Uninstall.exe", "install.ini"}), Tree(decoy));
}

// R: is a drive of its own that the test set-up maps to a folder outside the prefix's
// C:, so that a mistake here cannot reach the prefix.
const char kDriveRoot[] = "R:";

TEST_F(Uninstaller, DriveRootIsNeverWiped)
{
    ASSERT_TRUE(ts::FolderExists("R:\\")) << "drive R: is missing: run this suite through ctest";
    std::string drive = kDriveRoot;
    for (const std::string& name : ts::FolderEntries(drive))
        ts::RemoveTree(drive + "\\" + name);
    PlaceUninstaller(drive + "\\Uninstall.exe");
    WriteFiles(drive, {"photo.jpg", "Documents\\letter.txt"});
    RecordEntry(kTitle, RecordedCommand(drive + "\\Uninstall.exe", kTitle));  // even recorded so

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(drive + "\\Uninstall.exe", kTitle))));
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_EQ((std::vector<std::string>{"Documents\\", "Documents\\letter.txt", "photo.jpg"}), Tree(drive));
}

TEST_F(Uninstaller, InstallFolderOnAnotherDriveThanTheScript)
{
    ASSERT_TRUE(ts::FolderExists("R:\\")) << "drive R: is missing: run this suite through ctest";
    std::string folder = std::string(kDriveRoot) + "\\Apps\\Tide Tables";
    ts::RemoveTree(folder);
    PlaceUninstaller(ProgramIn(folder));
    WriteFiles(folder, {"install.ini", "TideTables.cab"});
    WriteFiles(std::string(kDriveRoot) + "\\Apps", {"beside.txt"});
    RecordEntry(kTitle, RecordedCommand(ProgramIn(folder), kTitle));

    ASSERT_TRUE(EndedCleanly(Uninstall(RecordedCommand(ProgramIn(folder), kTitle))));  // the script lies on C:
    EXPECT_FALSE(ts::KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kTitle)));
    EXPECT_EQ(std::vector<std::string>{"beside.txt"}, Tree(std::string(kDriveRoot) + "\\Apps"));
    EXPECT_FALSE(ts::FileExists(std::string(kDriveRoot) + "\\DelUS.bat"));
}

}  // namespace
