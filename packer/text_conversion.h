// The package's texts are code page 1252 with CR LF line ends; users write UTF-8.
#ifndef TEXT_CONVERSION_H
#define TEXT_CONVERSION_H

#include <windows.h>

enum TextFault {
    kTextOk,
    kTextInvalidUtf8,      // `line`, `column` locate the first byte that breaks the encoding
    kTextUnrepresentable,  // `codePoint` has no code page 1252 byte
    kTextNul,              // a NUL character
    kTextTooLong,          // the converted text and its NUL exceed the capacity
};

struct TextProblem {
    TextFault fault;
    DWORD line;       // 1-based
    DWORD column;     // 1-based, in characters
    DWORD codePoint;  // kTextUnrepresentable; the offending byte for kTextInvalidUtf8
};

// The code page 1252 byte for a Unicode code point, or -1 when it has none.
int CodePointTo1252(DWORD codePoint);

// Converts UTF-8 `input` (a leading byte-order mark is skipped) to code page 1252:
// every line end (CR LF, LF or CR) becomes CR LF, a last line without one gets one,
// and a NUL follows. `length` receives the converted length without the NUL.
bool ConvertPageText(const BYTE* input, DWORD size, char* output, DWORD capacity, DWORD* length, TextProblem* problem);

// Converts a UTF-16 argument to code page 1252 into `output` of `capacity` bytes.
// Line and column are not used: `column` is the 1-based character position.
bool ConvertArgumentText(const wchar_t* input, char* output, DWORD capacity, TextProblem* problem);

// Upper-case form of a code page 1252 character, for names compared without regard
// to case.
unsigned char FoldCase1252(unsigned char c);
bool SameNameIgnoringCase(const char* a, const char* b);

#endif
