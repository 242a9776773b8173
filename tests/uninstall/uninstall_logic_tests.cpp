// The uninstaller's rules called in-process: the entry name, the script text, the
// install-folder decision, and the key tree removal on Wine's registry.
#include <gtest/gtest.h>

#include <string>

#include "entry_name.h"
#include "install_folder.h"
#include "key_tree.h"
#include "self_removal.h"
#include "test_support.h"

namespace {

const char kProgram[] = "C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\\Uninstall.exe";

// ---- the entry name ----

struct EntryNameCase {
    const char* what;
    std::string commandLine;
    const char* programPath;
    UINT codePage;
    std::string expected;
};

void PrintTo(const EntryNameCase& c, std::ostream* os) { *os << c.what; }

class EntryName : public ::testing::TestWithParam<EntryNameCase> {};

TEST_P(EntryName, FollowsTheProgramName)
{
    const EntryNameCase& c = GetParam();
    const char* line = c.commandLine.c_str();
    const char* name = EntryNameFromCommandLine(line, c.programPath, c.codePage);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(c.expected, std::string(name));
    // in place: the name is the tail of the command line itself
    EXPECT_EQ(line + c.commandLine.size(), name + std::string(name).size());
}

const EntryNameCase kEntryNames[] = {
    {"quoted path, blank, title", std::string("\"") + kProgram + "\" Tide Tables", kProgram, 1252, "Tide Tables"},
    {"other quoted path", "\"D:\\Apps\\Demo\\Uninstall.exe\" Tide Tables", kProgram, 1252, "Tide Tables"},
    {"trailing blanks kept", "\"D:\\Demo\\Uninstall.exe\" Tide Tables  ", kProgram, 1252, "Tide Tables  "},
    {"quoted title keeps its quotes", "\"D:\\Demo\\Uninstall.exe\" \"Tide Tables\"", kProgram, 1252, "\"Tide Tables\""},
    {"several blanks, tabs and control bytes skipped", "\"D:\\Demo\\Uninstall.exe\" \t\x01\x1f Tide", kProgram, 1252, "Tide"},
    {"inner blanks kept", "\"D:\\Demo\\Uninstall.exe\" Tide   Tables", kProgram, 1252, "Tide   Tables"},
    {"text right after the closing quote", "\"D:\\Demo\\Uninstall.exe\"Tide", kProgram, 1252, "Tide"},
    {"no closing quote: all of it is the program", "\"D:\\Demo\\Uninstall.exe Tide", kProgram, 1252, ""},
    {"only the quoted program", "\"D:\\Demo\\Uninstall.exe\"", kProgram, 1252, ""},
    {"only the quoted program and blanks", "\"D:\\Demo\\Uninstall.exe\"   ", kProgram, 1252, ""},
    {"only the unquoted program", "Uninstall.exe", kProgram, 1252, ""},
    {"empty command line", "", kProgram, 1252, ""},
    {"unquoted path without blanks", "D:\\Demo\\Uninstall.exe Tide Tables", kProgram, 1252, "Tide Tables"},
    {"unquoted program ends at a tab", "D:\\Demo\\Uninstall.exe\tTide", kProgram, 1252, "Tide"},
    {"bytes of 128 and above belong to the program", "D:\\Caf\xe9\xa0X\\Uninstall.exe Tide", kProgram, 1252, "Tide"},
    {"someone else's unquoted path with a blank", "C:\\Other Place\\Uninstall.exe Tide", kProgram, 1252,
     "Place\\Uninstall.exe Tide"},
    {"own unquoted path with blanks", std::string(kProgram) + " Tide Tables", kProgram, 1252, "Tide Tables"},
    {"own unquoted path in other case", "c:\\PROGRAM FILES\\microsoft activesync\\tide tables\\UNINSTALL.EXE Tide",
     kProgram, 1252, "Tide"},
    {"own unquoted path, no argument", kProgram, kProgram, 1252, ""},
    {"own unquoted path, blanks only", std::string(kProgram) + "  ", kProgram, 1252, ""},
    {"own path with more after it is not the own path", std::string(kProgram) + "x Tide", kProgram, 1252,
     "Files\\Microsoft ActiveSync\\Tide Tables\\Uninstall.exex Tide"},
    {"own path unknown", std::string(kProgram) + " Tide", nullptr, 1252,
     "Files\\Microsoft ActiveSync\\Tide Tables\\Uninstall.exe Tide"},
    // Shift-JIS: 0x81 leads a double-byte character, so the quote after it is its second byte
    {"double-byte character inside quotes (932)", "\"C:\\\x81\" X\" Tide", kProgram, 932, "Tide"},
    {"same bytes in a single-byte code page (1252)", "\"C:\\\x81\" X\" Tide", kProgram, 1252, "X\" Tide"},
    {"lead byte at the end inside quotes (932)", "\"C:\\\x81", kProgram, 932, ""},
    // a second byte that looks like a letter is not folded: 0x82 0x61 is not 0x82 0x41
    {"own path differs in a double-byte character (932)", "C:\\\x82\x41 X\\Uninstall.exe Tide", "C:\\\x82\x61 X\\Uninstall.exe",
     932, "X\\Uninstall.exe Tide"},
    {"same bytes fold as letters (1252)", "C:\\\x82\x41 X\\Uninstall.exe Tide", "C:\\\x82\x61 X\\Uninstall.exe", 1252, "Tide"},
};

INSTANTIATE_TEST_SUITE_P(Table, EntryName, ::testing::ValuesIn(kEntryNames));

// ---- the script text ----

struct ScriptCase {
    const char* what;
    const char* programPath;
    bool removeFolder;
    UINT codePage;
    bool composed;
    std::string expected;
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.what; }

class ScriptText : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptText, IsExactly)
{
    const ScriptCase& c = GetParam();
    char script[kScriptSize];
    memset(script, 0xbd, sizeof(script));
    EXPECT_EQ(c.composed, ComposeSelfRemovalScript(c.programPath, c.removeFolder, c.codePage, script, kScriptSize));
    EXPECT_EQ(c.expected, std::string(script));
}

const ScriptCase kScripts[] = {
    {"install folder", "D:\\Apps\\Demo\\Uninstall.exe", true, 1252, true,
     ":Repeat\r\n"
     "del \"D:\\Apps\\Demo\\Uninstall.exe\"\r\n"
     "if exist \"D:\\Apps\\Demo\\Uninstall.exe\" goto Repeat\r\n"
     "del \"D:\\Apps\\Demo\\*.*\" /F /S /Q\r\n"
     "rmdir \"D:\\Apps\\Demo\"\r\n"
     "del \"\\DelUS.bat\"\r\n"},
    {"not the install folder: program file and script only", "D:\\Apps\\Demo\\Uninstall.exe", false, 1252, true,
     ":Repeat\r\n"
     "del \"D:\\Apps\\Demo\\Uninstall.exe\"\r\n"
     "if exist \"D:\\Apps\\Demo\\Uninstall.exe\" goto Repeat\r\n"
     "del \"\\DelUS.bat\"\r\n"},
    {"percent signs doubled", "C:\\100%\\Uninstall.exe", true, 1252, true,
     ":Repeat\r\n"
     "del \"C:\\100%%\\Uninstall.exe\"\r\n"
     "if exist \"C:\\100%%\\Uninstall.exe\" goto Repeat\r\n"
     "del \"C:\\100%%\\*.*\" /F /S /Q\r\n"
     "rmdir \"C:\\100%%\"\r\n"
     "del \"\\DelUS.bat\"\r\n"},
    // Shift-JIS 0x95 0x5C: its second byte is no backslash, nor is 0x81 0x25 a percent sign
    {"double-byte characters (932)", "C:\\A\\\x95\\Uninstall\x81%.exe", true, 932, true,
     ":Repeat\r\n"
     "del \"C:\\A\\\x95\\Uninstall\x81%.exe\"\r\n"
     "if exist \"C:\\A\\\x95\\Uninstall\x81%.exe\" goto Repeat\r\n"
     "del \"C:\\A\\*.*\" /F /S /Q\r\n"
     "rmdir \"C:\\A\"\r\n"
     "del \"\\DelUS.bat\"\r\n"},
    {"path without a folder", "Uninstall.exe", true, 1252, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Table, ScriptText, ::testing::ValuesIn(kScripts));

TEST(ScriptText, SizeOfTheDemoScript)
{
    // 91 bytes of format, the path twice, the folder twice
    char script[kScriptSize];
    ASSERT_TRUE(ComposeSelfRemovalScript("D:\\Apps\\Demo\\Uninstall.exe", true, 1252, script, kScriptSize));
    std::string text(script);
    EXPECT_EQ(91u + 2 * 26 + 2 * 12, text.size());
    EXPECT_EQ("\r\n", text.substr(text.size() - 2));
}

TEST(ScriptText, LongestPathsFit)
{
    // 259 characters, all of them percent signs after the drive: the worst case
    std::string path = "C:\\" + std::string(242, '%') + "\\Uninstall.exe";
    ASSERT_EQ(259u, path.size());
    char script[kScriptSize];
    ASSERT_TRUE(ComposeSelfRemovalScript(path.c_str(), true, 1252, script, kScriptSize));
    EXPECT_EQ(91u + 2 * (259 + 242) + 2 * (245 + 242), std::string(script).size());
}

TEST(ScriptText, TooSmallBufferIsAFailureNotAnOverflow)
{
    for (DWORD capacity : {0u, 1u, 20u, 166u, 167u}) {
        SCOPED_TRACE(capacity);
        char script[kScriptSize];
        memset(script, 0xbd, sizeof(script));
        bool composed = ComposeSelfRemovalScript("D:\\Apps\\Demo\\Uninstall.exe", true, 1252, script, capacity);
        EXPECT_FALSE(composed);  // the text is 167 bytes and needs 168 with its terminator
        for (DWORD i = capacity; i < kScriptSize; ++i)
            ASSERT_EQ(static_cast<char>(0xbd), script[i]) << "written past the capacity at " << i;
    }
    char script[168];
    EXPECT_TRUE(ComposeSelfRemovalScript("D:\\Apps\\Demo\\Uninstall.exe", true, 1252, script, sizeof(script)));
}

// ---- the install-folder decision ----

struct FolderCase {
    const char* path;
    UINT codePage;
    bool found;
    std::string folder;
};

class FolderOf : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderOf, CutsAtTheLastBackslash)
{
    const FolderCase& c = GetParam();
    char folder[kPathSize];
    memset(folder, 0xbd, sizeof(folder));
    ASSERT_EQ(c.found, FolderOfPath(c.path, folder, kPathSize, c.codePage));
    if (c.found)
        EXPECT_EQ(c.folder, std::string(folder));
}

const FolderCase kFolders[] = {
    {"D:\\Apps\\Demo\\Uninstall.exe", 1252, true, "D:\\Apps\\Demo"},
    {"C:\\Uninstall.exe", 1252, true, "C:"},
    {"\\\\server\\share\\Uninstall.exe", 1252, true, "\\\\server\\share"},
    {"Uninstall.exe", 1252, false, ""},
    {"C:\\A\\\x95\\Uninstall.exe", 932, true, "C:\\A"},
    {"C:\\A\\\x95\\Uninstall.exe", 1252, true, "C:\\A\\\x95"},
};

INSTANTIATE_TEST_SUITE_P(Table, FolderOf, ::testing::ValuesIn(kFolders));

struct RootCase {
    const char* folder;
    bool root;
};

class RootFolder : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootFolder, Recognised)
{
    EXPECT_EQ(GetParam().root, IsRootFolder(GetParam().folder)) << GetParam().folder;
}

const RootCase kRoots[] = {
    {"C:", true},
    {"d:", true},
    {"C:\\", true},
    {"", true},
    {"\\", true},
    {"C:\\Apps", false},
    {"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables", false},
    {"\\\\server\\share", true},
    {"\\\\server\\share\\", true},
    {"\\\\server", true},
    {"\\\\server\\share\\Apps", false},
    {"\\\\?\\C:", true},
    {"\\\\?\\C:\\Apps", false},
    {"\\\\?\\UNC\\server\\share", true},
    {"\\\\?\\UNC\\server\\share\\Apps", false},
    {"\\\\.\\C:", true},
};

INSTANTIATE_TEST_SUITE_P(Table, RootFolder, ::testing::ValuesIn(kRoots));

struct CommandCase {
    const char* what;
    std::string command;
    bool startsProgram;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.what; }

class RecordedCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(RecordedCommand, NamesThisProgram)
{
    EXPECT_EQ(GetParam().startsProgram, CommandStartsProgram(GetParam().command.c_str(), kProgram, 1252));
}

const CommandCase kCommands[] = {
    {"quoted, as the setup records it", std::string("\"") + kProgram + "\" Tide Tables", true},
    {"quoted, other case", "\"c:\\program files\\MICROSOFT ACTIVESYNC\\tide tables\\uninstall.EXE\" Tide Tables", true},
    {"quoted, no argument", std::string("\"") + kProgram + "\"", true},
    {"unquoted, as older setups recorded it", std::string(kProgram) + " Tide Tables", true},
    {"unquoted, no argument", kProgram, true},
    {"quote not closed", std::string("\"") + kProgram + " Tide Tables", false},
    {"another folder", "\"C:\\Program Files\\Microsoft ActiveSync\\Other\\Uninstall.exe\" Other", false},
    {"the folder only", "\"C:\\Program Files\\Microsoft ActiveSync\\Tide Tables\" x", false},
    {"a longer file name", std::string(kProgram) + "2 Tide Tables", false},
    {"quoted longer file name", std::string("\"") + kProgram + "2\" Tide Tables", false},
    {"empty", "", false},
    {"another program first", "\"C:\\Windows\\cmd.exe\" /c " + std::string(kProgram), false},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordedCommand, ::testing::ValuesIn(kCommands));

// The entry is read from Wine's registry, as the uninstaller reads it.
const char kEntry[] = "Uninstaller Logic Test";

std::string EntryPath(const std::string& name) { return std::string(ts::kUninstallRoot) + "\\" + name; }

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

struct RecordedCase {
    const char* what;
    bool createEntry;
    DWORD type;
    std::string data;  // exactly as stored
    const char* programPath;
    bool recorded;
};

void PrintTo(const RecordedCase& c, std::ostream* os) { *os << c.what; }

class RecordedFolder : public ::testing::TestWithParam<RecordedCase> {};

TEST_P(RecordedFolder, ReadFromTheEntry)
{
    const RecordedCase& c = GetParam();
    ts::DeleteTree(HKEY_LOCAL_MACHINE, EntryPath(kEntry));
    if (c.createEntry) {
        ts::CreateKey(HKEY_LOCAL_MACHINE, EntryPath(kEntry));
        if (c.type != REG_NONE)
            ts::SetValue(HKEY_LOCAL_MACHINE, EntryPath(kEntry), "UninstallString", c.type, c.data);
    }
    EXPECT_EQ(c.recorded, IsRecordedInstallFolder(kEntry, c.programPath));
    ts::DeleteTree(HKEY_LOCAL_MACHINE, EntryPath(kEntry));
}

const RecordedCase kRecorded[] = {
    {"quoted path and title", true, REG_SZ, Sz(std::string("\"") + kProgram + "\" Tide Tables"), kProgram, true},
    {"unquoted path and title", true, REG_SZ, Sz(std::string(kProgram) + " Tide Tables"), kProgram, true},
    {"data without its terminator", true, REG_SZ, std::string("\"") + kProgram + "\" Tide Tables", kProgram, true},
    {"another program's path", true, REG_SZ, Sz("\"C:\\Other\\Uninstall.exe\" Tide Tables"), kProgram, false},
    {"not a string", true, REG_BINARY, Sz(std::string("\"") + kProgram + "\" Tide Tables"), kProgram, false},
    {"no UninstallString", true, REG_NONE, "", kProgram, false},
    {"no entry", false, REG_NONE, "", kProgram, false},
    {"a drive's root, even when recorded", true, REG_SZ, Sz("\"C:\\Uninstall.exe\" Tide Tables"), "C:\\Uninstall.exe", false},
    {"a share's root, even when recorded", true, REG_SZ, Sz("\"\\\\srv\\apps\\Uninstall.exe\" T"), "\\\\srv\\apps\\Uninstall.exe",
     false},
    {"longer than any recorded command", true, REG_SZ, Sz(std::string("\"") + kProgram + "\" " + std::string(1200, 'T')),
     kProgram, false},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordedFolder, ::testing::ValuesIn(kRecorded));

TEST(RecordedFolderName, EmptyNameIsNeverRecorded)
{
    // an empty name would open the Uninstall root itself
    EXPECT_FALSE(IsRecordedInstallFolder("", kProgram));
    EXPECT_FALSE(IsRecordedInstallFolder(nullptr, kProgram));
}

// ---- the key tree ----

const char kTreeParent[] = "SOFTWARE\\Uninstaller Key Tree Test";

class KeyTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ts::DeleteTree(HKEY_LOCAL_MACHINE, kTreeParent);
        ts::CreateKey(HKEY_LOCAL_MACHINE, kTreeParent);
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTreeParent, 0, KEY_ALL_ACCESS, &parent_));
    }
    void TearDown() override
    {
        RegCloseKey(parent_);
        ts::DeleteTree(HKEY_LOCAL_MACHINE, kTreeParent);
    }
    std::string Path(const std::string& below) const { return std::string(kTreeParent) + "\\" + below; }
    void Create(const std::string& below)
    {
        ts::SetValue(HKEY_LOCAL_MACHINE, Path(below), "Value", REG_SZ, Sz(below));
    }
    bool Exists(const std::string& below) const { return ts::KeyExists(HKEY_LOCAL_MACHINE, Path(below)); }

    HKEY parent_ = NULL;
};

TEST_F(KeyTree, MissingOrEmptyNameDeletesNothing)
{
    Create("Entry");
    EXPECT_FALSE(DeleteKeyTree(parent_, nullptr));
    EXPECT_FALSE(DeleteKeyTree(parent_, ""));
    EXPECT_TRUE(Exists("Entry"));
    EXPECT_TRUE(ts::KeyExists(HKEY_LOCAL_MACHINE, kTreeParent));
}

TEST_F(KeyTree, MissingEntryDeletesNothing)
{
    Create("Entry");
    EXPECT_FALSE(DeleteKeyTree(parent_, "Entry2"));
    EXPECT_TRUE(Exists("Entry"));
}

TEST_F(KeyTree, EntryWithoutSubKeys)
{
    Create("Entry");
    ts::SetValue(HKEY_LOCAL_MACHINE, Path("Entry"), "Size", REG_DWORD, std::string("\x10\0\0\0", 4));
    Create("Entry 2");
    EXPECT_TRUE(DeleteKeyTree(parent_, "Entry"));
    EXPECT_FALSE(Exists("Entry"));
    EXPECT_EQ(std::vector<std::string>{"Entry 2"}, ts::SubKeyNames(HKEY_LOCAL_MACHINE, kTreeParent));
}

TEST_F(KeyTree, SubKeysThreeDeep)
{
    for (const char* key : {"Entry\\A\\B\\C", "Entry\\A\\B2", "Entry\\A2\\B\\C", "Entry\\A3", "Entryway\\A"})
        Create(key);
    EXPECT_TRUE(DeleteKeyTree(parent_, "Entry"));
    EXPECT_FALSE(Exists("Entry"));
    EXPECT_TRUE(Exists("Entryway\\A"));
}

TEST_F(KeyTree, NameWithBackslashesDeletesOnlyTheLastKey)
{
    Create("Outer\\Inner\\Deep\\Deeper");
    Create("Outer\\Beside");
    EXPECT_TRUE(DeleteKeyTree(parent_, "Outer\\Inner"));
    EXPECT_FALSE(Exists("Outer\\Inner"));
    EXPECT_TRUE(Exists("Outer"));
    EXPECT_EQ(std::vector<std::string>{"Beside"}, ts::SubKeyNames(HKEY_LOCAL_MACHINE, Path("Outer")));
}

// A name that the ANSI code page cannot spell comes back from RegEnumKeyExA with '?'
// in its place, and no key of that name can be opened.
void CreateUnicodeKey(const std::string& parentPath, const wchar_t* name)
{
    HKEY parent;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, KEY_ALL_ACCESS, &parent));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegCloseKey(key);
    RegCloseKey(parent);
}

TEST_F(KeyTree, SubKeyThatCannotBeOpenedKeepsItsParentChain)
{
    // sub-keys are enumerated in order of name: B and its tree go first, then the
    // one that cannot be opened stops everything
    Create("Entry\\Level1\\B\\Below");
    Create("Entry\\Level1\\Level2\\A");
    Create("Entry\\Level1\\Level2\\Z");
    Create("Entry\\Level1\\Z");
    Create("Entry\\Z");
    CreateUnicodeKey(Path("Entry\\Level1\\Level2"), L"M\x0416\x0436");  // Cyrillic, not in 1252
    EXPECT_FALSE(DeleteKeyTree(parent_, "Entry"));

    EXPECT_FALSE(Exists("Entry\\Level1\\B"));
    EXPECT_FALSE(Exists("Entry\\Level1\\Level2\\A"));
    EXPECT_EQ((std::vector<std::string>{"M??", "Z"}), ts::SubKeyNames(HKEY_LOCAL_MACHINE, Path("Entry\\Level1\\Level2")));
    EXPECT_EQ((std::vector<std::string>{"Level2", "Z"}), ts::SubKeyNames(HKEY_LOCAL_MACHINE, Path("Entry\\Level1")));
    EXPECT_EQ((std::vector<std::string>{"Level1", "Z"}), ts::SubKeyNames(HKEY_LOCAL_MACHINE, Path("Entry")));
}

// Creates `depth` keys named "L" each inside the one before, below `parent`, one
// relative open at a time.
LONG CreateChain(HKEY parent, DWORD depth)
{
    HKEY current = parent;
    LONG result = ERROR_SUCCESS;
    for (DWORD i = 0; i < depth && result == ERROR_SUCCESS; ++i) {
        HKEY next;
        result = RegCreateKeyExA(current, "L", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &next, NULL);
        if (current != parent)
            RegCloseKey(current);
        current = result == ERROR_SUCCESS ? next : parent;
    }
    if (current != parent)
        RegCloseKey(current);
    return result;
}

DWORD ChainDepth(HKEY parent)
{
    HKEY current = parent;
    DWORD depth = 0;
    HKEY next;
    while (RegOpenKeyExA(current, "L", 0, KEY_READ, &next) == ERROR_SUCCESS) {
        if (current != parent)
            RegCloseKey(current);
        current = next;
        ++depth;
    }
    if (current != parent)
        RegCloseKey(current);
    return depth;
}

TEST_F(KeyTree, FullRegistryDepth)
{
    ASSERT_EQ(ERROR_SUCCESS, CreateChain(parent_, kMaxKeyTreeDepth));
    ASSERT_EQ(kMaxKeyTreeDepth, ChainDepth(parent_));
    EXPECT_TRUE(DeleteKeyTree(parent_, "L"));
    EXPECT_EQ(0u, ChainDepth(parent_));
}

TEST_F(KeyTree, DeeperThanTheRegistryAllowsIsLeftAlone)
{
    // Windows refuses such a tree; Wine's registry has no such limit
    ASSERT_EQ(ERROR_SUCCESS, CreateChain(parent_, kMaxKeyTreeDepth + 1));
    EXPECT_FALSE(DeleteKeyTree(parent_, "L"));
    EXPECT_EQ(kMaxKeyTreeDepth + 1, ChainDepth(parent_));
}

}  // namespace
