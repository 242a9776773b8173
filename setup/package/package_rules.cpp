#include "package_rules.h"

namespace {

bool IsDotName(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool IsForbiddenInFileName(unsigned char c)
{
    if (c < 32)
        return true;
    const char* forbidden = "\\/:*?\"<>|";
    for (const char* p = forbidden; *p; ++p)
        if (c == static_cast<unsigned char>(*p))
            return true;
    return false;
}

bool HoldsOnlyFileNameCharacters(const char* name, int maxLength)
{
    int length = 0;
    for (; name[length]; ++length) {
        if (length >= maxLength || IsForbiddenInFileName(static_cast<unsigned char>(name[length])))
            return false;
    }
    return length > 0 && !IsDotName(name);
}

}  // namespace

TitleFault CheckPackageTitle(const char* title, int* position)
{
    if (title[0] == 0)
        return kTitleEmpty;
    if (title[0] == ' ')
        return kTitleLeadingBlank;
    int length = 0;
    for (; title[length]; ++length) {
        if (length >= kMaxTitleLength)
            return kTitleTooLong;
        unsigned char c = static_cast<unsigned char>(title[length]);
        if (IsForbiddenInFileName(c)) {
            *position = length;
            return c == '\\' ? kTitleBackslash : kTitleForbiddenCharacter;
        }
    }
    if (IsDotName(title))
        return kTitleDotName;
    return kTitleOk;
}

bool IsValidPackageTitle(const char* title)
{
    int position = 0;
    return CheckPackageTitle(title, &position) == kTitleOk;
}

bool IsPlainFileName(const char* name)
{
    return HoldsOnlyFileNameCharacters(name, 259);
}
