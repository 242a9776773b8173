// Messages of the packer: problems go to standard error, usage to standard output.
// Each message is written piece by piece, so no buffer bounds its length.
#ifndef CONSOLE_H
#define CONSOLE_H

#include <windows.h>

void ErrorText(const char* text);
void ErrorNumber(DWORD number);
// "0x" and `digits` hexadecimal digits.
void ErrorHex(DWORD value, int digits);
// "U+00E9" style.
void ErrorCodePoint(DWORD codePoint);
// A command-line argument, in the ANSI code page as far as it can be shown.
void ErrorArgument(const wchar_t* argument);
// Ends the message with a line end.
void ErrorEnd();
// The system's text for `error` (from GetLastError), in parentheses with its number.
void ErrorSystemText(DWORD error);

// Starts a message with the program's name, optionally followed by "<file>: ".
void ErrorStart(const char* file);

void OutputText(const char* text);

#endif
