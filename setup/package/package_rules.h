// What a package title must be: it names one folder and one registry key, and the
// uninstaller receives it at the end of its command line.
#ifndef PACKAGE_RULES_H
#define PACKAGE_RULES_H

// Longest title in characters (its buffer holds the terminator too).
const int kMaxTitleLength = 79;

// The first rule a title breaks, for tools that must say why they refuse it.
enum TitleFault {
    kTitleOk,
    kTitleEmpty,
    kTitleTooLong,          // more than kMaxTitleLength characters
    kTitleLeadingBlank,
    kTitleBackslash,
    kTitleForbiddenCharacter,  // a control character or / : * ? " < > |
    kTitleDotName,          // "." or ".."
};

// Checks `title`; for the two character faults, `position` receives the 0-based
// index of the offending character.
TitleFault CheckPackageTitle(const char* title, int* position);

// True for 1 to kMaxTitleLength characters, no leading blank, not "." or "..",
// and no character that a file name cannot hold (controls and \ / : * ? " < > |).
bool IsValidPackageTitle(const char* title);

// True for a plain file name: not empty, no folder part, no drive, not "." or "..".
bool IsPlainFileName(const char* name);

#endif
