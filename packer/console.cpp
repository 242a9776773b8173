#include "console.h"

#include "bounded_text.h"

namespace {

void WriteTo(DWORD which, const char* text)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == NULL || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(handle, text, TextLength(text), &written, NULL);
}

}  // namespace

void ErrorText(const char* text)
{
    WriteTo(STD_ERROR_HANDLE, text);
}

void ErrorNumber(DWORD number)
{
    char digits[16];
    int at = sizeof(digits) - 1;
    digits[at] = 0;
    do {
        digits[--at] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    ErrorText(digits + at);
}

namespace {

void WriteHex(const char* prefix, DWORD value, int digits)
{
    const char* hex = "0123456789ABCDEF";
    char text[16];
    text[0] = prefix[0];
    text[1] = prefix[1];
    if (digits > 8)
        digits = 8;
    for (int i = 0; i < digits; ++i)
        text[2 + i] = hex[(value >> (4 * (digits - 1 - i))) & 0xF];
    text[2 + digits] = 0;
    ErrorText(text);
}

}  // namespace

void ErrorHex(DWORD value, int digits)
{
    WriteHex("0x", value, digits);
}

void ErrorCodePoint(DWORD codePoint)
{
    WriteHex("U+", codePoint, codePoint > 0xFFFF ? (codePoint > 0xFFFFF ? 6 : 5) : 4);
}

void ErrorArgument(const wchar_t* argument)
{
    char text[1024];
    int length = WideCharToMultiByte(CP_ACP, 0, argument, -1, text, sizeof(text), NULL, NULL);
    if (length > 0) {
        ErrorText(text);
        return;
    }
    // Too long to show whole: show its start.
    int shown = lstrlenW(argument) < 200 ? lstrlenW(argument) : 200;
    length = WideCharToMultiByte(CP_ACP, 0, argument, shown, text, sizeof(text) - 4, NULL, NULL);
    text[length > 0 ? length : 0] = 0;
    ErrorText(text);
    ErrorText("...");
}

void ErrorEnd()
{
    ErrorText("\r\n");
}

void ErrorSystemText(DWORD error)
{
    char text[256];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, text,
                                  sizeof(text), NULL);
    // The system's texts end with a line end and often a full stop.
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '
                          || text[length - 1] == '.'))
        --length;
    text[length < sizeof(text) ? length : sizeof(text) - 1] = 0;
    ErrorText(" (");
    if (length > 0) {
        ErrorText(text);
        ErrorText(", ");
    }
    ErrorText("error ");
    ErrorNumber(error);
    ErrorText(")");
}

void ErrorStart(const char* file)
{
    ErrorText("packer: ");
    if (file) {
        ErrorText(file);
        ErrorText(": ");
    }
}

void OutputText(const char* text)
{
    WriteTo(STD_OUTPUT_HANDLE, text);
}
