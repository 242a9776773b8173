// The loaders and text rules, run in-process over the package linked into this program.
#include <gtest/gtest.h>

#include <string>

#include "bounded_text.h"
#include "package_rules.h"
#include "resource_loaders.h"
#include "test_support.h"

namespace {

const char kTitle79[] = "Title of seventy-nine characters Title of seventy-nine characters Title of seve";

struct UiStringCase {
    UINT id;
    const char* text;
};

const UiStringCase kUiStrings[] = {
    {IDS_NO_ACTIVESYNC, "ActiveSync not found on this computer. Setup cannot continue and will now exit."},
    {IDS_SETUP, "Setup"},
    {IDS_CANNOT_CREATE_FOLDER, "Could not create install directory. Setup cannot continue and will exit."},
    {IDS_WRITE_FAILED, "An error occured writing your Pocket PC application to disk. Setup cannot continue and will exit."},
    {IDS_MISSING_INFORMATION, "The setup files are missing information. Setup cannot continue and will exit."},
    {IDS_UNINSTALL_INFO_FAILED, "Could not write uninstall information."},
    {IDS_WILL_BE_INSTALLED, "%s will be installed on your Pocket PC now"},
    {IDS_PPC_INSTALLATION, "Pocket PC installation"},
    {IDS_LICENSE_AGREEMENT, "License Agreement"},
    {IDS_READ_LICENSE, "Please read the following license agreement carefully."},
};

TEST(LoadUiString, YieldsEveryTextTerminatedAtByte255)
{
    for (const UiStringCase& c : kUiStrings) {
        SCOPED_TRACE(c.id);
        char buffer[UI_STRING_SIZE];
        memset(buffer, 0xbd, sizeof(buffer));
        EXPECT_EQ(buffer, LoadUiString(buffer, c.id));
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ(0, buffer[255]);
        // The welcome subtitle's format is the only one with a directive.
        EXPECT_EQ(c.id == IDS_WILL_BE_INSTALLED, strchr(buffer, '%') != NULL);
    }
}

TEST(LoadResourceText, TitleOf79CharactersArrivesWhole)
{
    char title[SETUP_TITLE_SIZE + 4];
    memset(title, 0xbd, sizeof(title));
    ASSERT_TRUE(LoadResourceText(RT_SETUP_TITLE, ID_SETUP_TITLE, title, SETUP_TITLE_SIZE));
    EXPECT_EQ(std::string(kTitle79), std::string(title));
    EXPECT_EQ(0, title[79]);
    EXPECT_EQ(static_cast<char>(0xbd), title[80]) << "wrote past its capacity";
}

TEST(LoadResourceText, ReplacesOnlyTheStartOfEarlierText)
{
    char buffer[SETUP_PATH_SIZE];
    memset(buffer, 0xbd, sizeof(buffer));
    strcpy(buffer, "an earlier and rather longer text");
    ASSERT_TRUE(LoadResourceText(RT_SETUP_FILE_NAME, 1, buffer, sizeof(buffer)));
    EXPECT_STREQ("install.ini", buffer);
    EXPECT_EQ(std::string("an earlier and rather longer text").substr(12), std::string(buffer + 12));
    EXPECT_EQ(static_cast<char>(0xbd), buffer[34]);
}

struct RefusedTextCase {
    const char* what;
    UINT type;
    UINT id;
    DWORD capacity;
};

// Each refusal must leave the destination exactly as it was.
const RefusedTextCase kRefusedTexts[] = {
    {"missing title id", RT_SETUP_TITLE, 9, SETUP_TITLE_SIZE},
    {"missing file name", RT_SETUP_FILE_NAME, 4, SETUP_PATH_SIZE},
    {"title one byte too small", RT_SETUP_TITLE, ID_SETUP_TITLE, 79},
    {"name of 300 characters", RT_SETUP_FILE_NAME, 3, SETUP_PATH_SIZE},
    {"zero capacity", RT_SETUP_FILE_NAME, 1, 0},
};

TEST(LoadResourceText, RefusesWithoutWriting)
{
    for (const RefusedTextCase& c : kRefusedTexts) {
        SCOPED_TRACE(c.what);
        char buffer[400];
        memset(buffer, 0xbd, sizeof(buffer));
        buffer[0] = 0;
        EXPECT_FALSE(LoadResourceText(c.type, c.id, buffer, c.capacity));
        EXPECT_EQ(0, buffer[0]);
        for (size_t i = 1; i < sizeof(buffer); ++i)
            ASSERT_EQ(static_cast<char>(0xbd), buffer[i]) << "byte " << i;
    }
}

TEST(GetSetupFile, GivesTheBytesInsideTheImage)
{
    DWORD size = 0xbdbdbdbd;
    const BYTE* data = GetSetupFile(1, &size);
    ASSERT_NE(nullptr, data);
    std::string expected = "[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = Variant\r\n";
    EXPECT_EQ(expected, std::string(reinterpret_cast<const char*>(data), size));
    // The same address every time: nothing is copied.
    DWORD again = 0;
    EXPECT_EQ(data, GetSetupFile(1, &again));
}

TEST(GetSetupFile, ZeroByteFileExists)
{
    DWORD size = 0xbdbdbdbd;
    EXPECT_NE(nullptr, GetSetupFile(2, &size));
    EXPECT_EQ(0u, size);
}

TEST(GetSetupFile, MissingFileStoresNoSize)
{
    DWORD size = 0xbdbdbdbd;
    EXPECT_EQ(nullptr, GetSetupFile(4, &size));
    EXPECT_EQ(0xbdbdbdbdu, size);
}

TEST(GetSetupText, GivesTerminatedTextsOnly)
{
    const char* description = GetSetupText(ID_TEXT_DESCRIPTION);
    ASSERT_NE(nullptr, description);
    EXPECT_STREQ("First line\r\n\r\nThird line\r\n", description);
    EXPECT_EQ(nullptr, GetSetupText(ID_TEXT_LICENSE)) << "a text without its NUL would be read past its end";
    EXPECT_EQ(nullptr, GetSetupText(9));
}

struct TitleCase {
    const char* title;
    bool valid;
};

const TitleCase kTitles[] = {
    {"Tide Tables", true},
    {kTitle79, true},
    {"T", true},
    {"Title with trailing blank ", true},
    {"", false},
    {" Leading blank", false},
    {"Back\\slash", false},
    {"Slash/ed", false},
    {"Colon:", false},
    {"Star*", false},
    {"Question?", false},
    {"Quote\"", false},
    {"Less<", false},
    {"Greater>", false},
    {"Pipe|", false},
    {"Tab\tinside", false},
    {".", false},
    {"..", false},
    {"Title of eighty characters Title of eighty characters Title of eighty characters", false},
};

TEST(PackageRules, TitleTable)
{
    for (const TitleCase& c : kTitles) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.valid, IsValidPackageTitle(c.title));
    }
}

TEST(PackageRules, PlainFileNames)
{
    EXPECT_TRUE(IsPlainFileName("install.ini"));
    EXPECT_TRUE(IsPlainFileName(" leading blank.cab"));
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_FALSE(IsPlainFileName("..\\escaped.txt"));
    EXPECT_FALSE(IsPlainFileName("sub/file.txt"));
    EXPECT_FALSE(IsPlainFileName("C:file.txt"));
    EXPECT_FALSE(IsPlainFileName(".."));
}

struct AppendCase {
    const char* start;
    const char* added;
    DWORD capacity;
    bool fits;
    const char* result;
};

const AppendCase kAppends[] = {
    {"C:\\Sync\\", "Pkg", 16, true, "C:\\Sync\\Pkg"},
    {"abc", "def", 7, true, "abcdef"},    // exactly fills: 6 characters and the NUL
    {"abc", "defg", 7, false, "abc"},     // one too many: unchanged
    {"", "", 1, true, ""},
    {"", "x", 1, false, ""},
};

TEST(BoundedText, AppendNeverPassesItsCapacity)
{
    for (const AppendCase& c : kAppends) {
        SCOPED_TRACE(std::string(c.start) + "+" + c.added);
        char buffer[32];
        memset(buffer, 0xbd, sizeof(buffer));
        strcpy(buffer, c.start);
        EXPECT_EQ(c.fits, AppendText(buffer, c.capacity, c.added));
        EXPECT_STREQ(c.result, buffer);
        for (size_t i = c.capacity; i < sizeof(buffer); ++i)
            ASSERT_EQ(static_cast<char>(0xbd), buffer[i]) << "byte " << i;
    }
}

}  // namespace
