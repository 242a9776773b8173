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

bool IsValidPackageTitle(const char* title)
{
    if (title[0] == ' ')
        return false;
    return HoldsOnlyFileNameCharacters(title, kMaxTitleLength);
}

bool IsPlainFileName(const char* name)
{
    return HoldsOnlyFileNameCharacters(name, 259);
}
