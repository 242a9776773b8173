// The packer's text rules, driven directly: UTF-8 page texts and arguments to code
// page 1252, and names compared without regard to case.
#include <gtest/gtest.h>

#include <string>

#include "text_conversion.h"

namespace {

struct PageCase {
    const char* name;
    std::string input;
    bool converts;
    std::string output;  // without the NUL; or the fault's place below
    TextFault fault;
    DWORD line, column, codePoint;
};

class PageText : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageText, Converts)
{
    const PageCase& c = GetParam();
    char buffer[64];
    memset(buffer, 0xbd, sizeof(buffer));
    DWORD length = 0xbdbdbdbd;
    TextProblem problem = {};
    bool converted = ConvertPageText(reinterpret_cast<const BYTE*>(c.input.data()), static_cast<DWORD>(c.input.size()),
                                     buffer, sizeof(buffer), &length, &problem);
    ASSERT_EQ(c.converts, converted);
    if (c.converts) {
        EXPECT_EQ(c.output.size(), length);
        EXPECT_EQ(c.output, std::string(buffer, length));
        EXPECT_EQ('\0', buffer[length]);
        return;
    }
    EXPECT_EQ(c.fault, problem.fault);
    EXPECT_EQ(c.line, problem.line);
    EXPECT_EQ(c.column, problem.column);
    EXPECT_EQ(c.codePoint, problem.codePoint);
}

const std::string k63(63, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, PageText,
    ::testing::Values(
        PageCase{"Empty", "", true, "", kTextOk, 0, 0, 0},
        PageCase{"OnlyByteOrderMark", "\xEF\xBB\xBF", true, "", kTextOk, 0, 0, 0},
        PageCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBFhi\n", true, "hi\r\n", kTextOk, 0, 0, 0},
        PageCase{"LastLineEnded", "one\ntwo", true, "one\r\ntwo\r\n", kTextOk, 0, 0, 0},
        PageCase{"EveryLineEnd", "a\r\nb\nc\rd\r\n", true, "a\r\nb\r\nc\r\nd\r\n", kTextOk, 0, 0, 0},
        PageCase{"EmptyLinesKept", "\n\r\n\r", true, "\r\n\r\n\r\n", kTextOk, 0, 0, 0},
        PageCase{"CrThenLfIsOneEnd", "a\r\r\nb", true, "a\r\n\r\nb\r\n", kTextOk, 0, 0, 0},
        PageCase{"UpperHalf", "\xC3\xA9\xC3\xBF\xC2\xA0", true, "\xE9\xFF\xA0\r\n", kTextOk, 0, 0, 0},
        PageCase{"Windows1252Extras", "\xE2\x82\xAC\xE2\x80\x9C\xC5\xA0\xC5\xB8", true, "\x80\x93\x8A\x9F\r\n", kTextOk, 0, 0, 0},
        PageCase{"TabsStay", "a\tb", true, "a\tb\r\n", kTextOk, 0, 0, 0},
        PageCase{"C1ControlRefused", "ab\xC2\x81", false, "", kTextUnrepresentable, 1, 3, 0x81},
        PageCase{"CjkRefused", "x\n\n  \xE6\xB0\xB4", false, "", kTextUnrepresentable, 3, 3, 0x6C34},
        PageCase{"AstralRefused", "\xF0\x9F\x8C\x8A", false, "", kTextUnrepresentable, 1, 1, 0x1F30A},
        PageCase{"ColumnCountsCharacters", "\xC3\xA9\xC3\xA9\xE4\xB8\xAD", false, "", kTextUnrepresentable, 1, 3, 0x4E2D},
        PageCase{"NulRefused", std::string("a\nb\0", 4), false, "", kTextNul, 2, 2, 0},
        PageCase{"LoneContinuation", "ab\x80", false, "", kTextInvalidUtf8, 1, 3, 0x80},
        PageCase{"Overlong", "\xC1\xBF", false, "", kTextInvalidUtf8, 1, 1, 0xC1},
        PageCase{"OverlongThreeBytes", "\xE0\x80\xAF", false, "", kTextInvalidUtf8, 1, 1, 0xE0},
        PageCase{"Surrogate", "\xED\xA0\x80", false, "", kTextInvalidUtf8, 1, 1, 0xED},
        PageCase{"BeyondUnicode", "\xF4\x90\x80\x80", false, "", kTextInvalidUtf8, 1, 1, 0xF4},
        PageCase{"TruncatedAtEnd", "\n\xE2\x82", false, "", kTextInvalidUtf8, 2, 1, 0xE2},
        PageCase{"BadContinuation", "\xC3(", false, "", kTextInvalidUtf8, 1, 1, 0xC3},
        PageCase{"Latin1ByteRefused", "caf\xE9", false, "", kTextInvalidUtf8, 1, 4, 0xE9},
        // 61 characters and CR LF with the NUL fill the 64-byte buffer exactly.
        PageCase{"FillsTheBuffer", std::string(61, 'x'), true, std::string(61, 'x') + "\r\n", kTextOk, 0, 0, 0},
        PageCase{"LineEndDoesNotFit", std::string(62, 'x'), false, "", kTextTooLong, 1, 63, 0},
        PageCase{"CharacterDoesNotFit", k63 + "y", false, "", kTextTooLong, 1, 64, 0}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

// Every character of code page 1252, as the platform decodes it, maps back to its byte.
TEST(CodePage1252, AgreesWithThePlatform)
{
    int defined = 0;
    for (int byte = 1; byte < 256; ++byte) {
        char c = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(1, MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, &c, 1, &wide, 1)) << byte;
        // The five bytes that code page 1252 leaves undefined decode to C1 controls.
        if (wide >= 0x80 && wide <= 0x9F) {
            EXPECT_EQ(-1, CodePointTo1252(wide)) << byte;
            continue;
        }
        EXPECT_EQ(byte, CodePointTo1252(wide)) << byte;
        ++defined;
    }
    EXPECT_EQ(250, defined);
    EXPECT_EQ(-1, CodePointTo1252(0x0100));
    EXPECT_EQ(-1, CodePointTo1252(0xFFFD));
}

TEST(ArgumentText, ConvertsOrNamesTheCharacter)
{
    char buffer[8];
    TextProblem problem = {};
    ASSERT_TRUE(ConvertArgumentText(L"K\x00FCste", buffer, sizeof(buffer), &problem));
    EXPECT_EQ(std::string("K\xFCste"), buffer);

    ASSERT_FALSE(ConvertArgumentText(L"ab\xD83C\xDF0A", buffer, sizeof(buffer), &problem));
    EXPECT_EQ(kTextUnrepresentable, problem.fault);
    EXPECT_EQ(3u, problem.column);
    EXPECT_EQ(0x1F30Au, problem.codePoint);

    ASSERT_FALSE(ConvertArgumentText(L"a\xDC00", buffer, sizeof(buffer), &problem));
    EXPECT_EQ(kTextUnrepresentable, problem.fault);
    EXPECT_EQ(2u, problem.column);

    ASSERT_TRUE(ConvertArgumentText(L"1234567", buffer, sizeof(buffer), &problem));
    ASSERT_FALSE(ConvertArgumentText(L"12345678", buffer, sizeof(buffer), &problem));
    EXPECT_EQ(kTextTooLong, problem.fault);
}

TEST(NameCase, ComparesWithoutRegardToCase)
{
    struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"TideTables.cab", "TIDETABLES.CAB", true},
        {"\xC4pfel.cab", "\xE4PFEL.CAB", true},   // A/a umlaut
        {"\x8A.cab", "\x9A.cab", true},            // S/s caron
        {"\x9F.cab", "\xFF.cab", true},            // Y/y diaeresis
        {"\xD7.cab", "\xF7.cab", false},           // multiplication and division signs
        {"a.cab", "a.cab ", false},
        {"", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.same, SameNameIgnoringCase(c.a, c.b)) << c.a << " / " << c.b;
}

}  // namespace
