#include "text_conversion.h"

namespace {

// Code page 1252 bytes 0x80-0x9F; 0 where the code page defines no character.
const WORD k1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

bool IsContinuation(BYTE b)
{
    return (b & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at `input` (at least one byte). Returns its length, or
// 0 when the bytes are not valid UTF-8 (overlong forms and surrogates included).
DWORD DecodeUtf8(const BYTE* input, DWORD left, DWORD* codePoint)
{
    BYTE b = input[0];
    if (b < 0x80) {
        *codePoint = b;
        return 1;
    }
    DWORD length;
    BYTE low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        *codePoint = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        *codePoint = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0;
        if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        *codePoint = b & 0x07;
        if (b == 0xF0)
            low = 0x90;
        if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || input[1] < low || input[1] > high)
        return 0;
    for (DWORD i = 1; i < length; ++i) {
        if (!IsContinuation(input[i]))
            return 0;
        *codePoint = (*codePoint << 6) | (input[i] & 0x3F);
    }
    return length;
}

bool Put(char* output, DWORD capacity, DWORD* used, char c)
{
    // Keep the last byte for the NUL.
    if (*used + 1 >= capacity)
        return false;
    output[(*used)++] = c;
    return true;
}

bool Fail(TextProblem* problem, TextFault fault, DWORD line, DWORD column, DWORD codePoint)
{
    problem->fault = fault;
    problem->line = line;
    problem->column = column;
    problem->codePoint = codePoint;
    return false;
}

}  // namespace

int CodePointTo1252(DWORD codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (k1252High[i] != 0 && k1252High[i] == codePoint)
            return 0x80 + i;
    return -1;
}

bool ConvertPageText(const BYTE* input, DWORD size, char* output, DWORD capacity, DWORD* length, TextProblem* problem)
{
    DWORD at = 0;
    if (size >= 3 && input[0] == 0xEF && input[1] == 0xBB && input[2] == 0xBF)
        at = 3;
    DWORD used = 0;
    DWORD line = 1;
    DWORD column = 1;
    bool lineOpen = false;  // characters since the last line end
    while (at < size) {
        DWORD codePoint = 0;
        DWORD step = DecodeUtf8(input + at, size - at, &codePoint);
        if (step == 0)
            return Fail(problem, kTextInvalidUtf8, line, column, input[at]);
        if (codePoint == '\r' || codePoint == '\n') {
            if (codePoint == '\r' && at + 1 < size && input[at + 1] == '\n')
                ++step;
            if (!Put(output, capacity, &used, '\r') || !Put(output, capacity, &used, '\n'))
                return Fail(problem, kTextTooLong, line, column, 0);
            at += step;
            ++line;
            column = 1;
            lineOpen = false;
            continue;
        }
        if (codePoint == 0)
            return Fail(problem, kTextNul, line, column, 0);
        int byte = CodePointTo1252(codePoint);
        if (byte < 0)
            return Fail(problem, kTextUnrepresentable, line, column, codePoint);
        if (!Put(output, capacity, &used, static_cast<char>(byte)))
            return Fail(problem, kTextTooLong, line, column, 0);
        at += step;
        ++column;
        lineOpen = true;
    }
    if (lineOpen && (!Put(output, capacity, &used, '\r') || !Put(output, capacity, &used, '\n')))
        return Fail(problem, kTextTooLong, line, column, 0);
    if (capacity == 0)
        return Fail(problem, kTextTooLong, line, column, 0);
    output[used] = 0;
    *length = used;
    problem->fault = kTextOk;
    return true;
}

bool ConvertArgumentText(const wchar_t* input, char* output, DWORD capacity, TextProblem* problem)
{
    DWORD used = 0;
    DWORD column = 1;
    for (DWORD at = 0; input[at]; ++at, ++column) {
        DWORD codePoint = static_cast<WORD>(input[at]);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF && input[at + 1] >= 0xDC00 && input[at + 1] <= 0xDFFF) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (static_cast<WORD>(input[at + 1]) - 0xDC00);
            ++at;
        }
        // A lone surrogate has no byte either.
        int byte = (codePoint >= 0xD800 && codePoint <= 0xDFFF) ? -1 : CodePointTo1252(codePoint);
        if (byte < 0)
            return Fail(problem, kTextUnrepresentable, 1, column, codePoint);
        if (!Put(output, capacity, &used, static_cast<char>(byte)))
            return Fail(problem, kTextTooLong, 1, column, 0);
    }
    if (capacity == 0)
        return Fail(problem, kTextTooLong, 1, column, 0);
    output[used] = 0;
    problem->fault = kTextOk;
    return true;
}

unsigned char FoldCase1252(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
    }
}

bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (FoldCase1252(static_cast<unsigned char>(*a)) != FoldCase1252(static_cast<unsigned char>(*b)))
            return false;
        if (*a == 0)
            return true;
    }
}
