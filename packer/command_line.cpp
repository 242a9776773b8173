#include "command_line.h"

#include "console.h"
#include "package_rules.h"

// The usage and the messages spell these limits out.
static_assert(kMaxCabinets == 32, "update the usage text");
static_assert(kMaxPageTextLength == 65535, "update the usage text");
static_assert(kAppManagerFolderReserve == 64, "update the usage text");
static_assert(kMaxTitleLength == 79, "update the usage text");

namespace {

bool SameText(const wchar_t* a, const wchar_t* b)
{
    for (; *a == *b; ++a, ++b)
        if (*a == 0)
            return true;
    return false;
}

// "--name=value": true with `value` pointing behind the '=' when `argument` is `name`
// followed by '='.
bool SplitInlineValue(const wchar_t* argument, const wchar_t* name, const wchar_t** value)
{
    int i = 0;
    for (; name[i]; ++i)
        if (argument[i] != name[i])
            return false;
    if (argument[i] != L'=')
        return false;
    *value = argument + i + 1;
    return true;
}

bool SyntaxError(const char* text, const wchar_t* argument)
{
    ErrorStart(NULL);
    ErrorText(text);
    if (argument) {
        ErrorText(" '");
        ErrorArgument(argument);
        ErrorText("'");
    }
    ErrorEnd();
    ErrorText("Run 'packer --help' for its usage.");
    ErrorEnd();
    return false;
}

bool Missing(const char* option)
{
    ErrorStart(NULL);
    ErrorText("the option ");
    ErrorText(option);
    ErrorText(" is missing");
    ErrorEnd();
    ErrorText("Run 'packer --help' for its usage.");
    ErrorEnd();
    return false;
}

// Stores a single-use option's value; a second use is an error.
bool SetOnce(const wchar_t** slot, const wchar_t* value, const wchar_t* option)
{
    if (*slot)
        return SyntaxError("this option is given twice:", option);
    *slot = value;
    return true;
}

}  // namespace

bool ParseArguments(int argc, wchar_t** argv, PackerArguments* arguments)
{
    PackerArguments& a = *arguments;
    a.title = a.description = a.license = a.component = a.output = a.stub = NULL;
    a.cabinetCount = 0;
    a.arch = kArchX86;
    a.help = false;
    const wchar_t* arch = NULL;

    struct Option {
        const wchar_t* name;
        const wchar_t** slot;  // null: --cab, which may repeat
    };
    const wchar_t* cabinet = NULL;
    const Option options[] = {
        {L"--title", &a.title},     {L"--description", &a.description}, {L"--license", &a.license},
        {L"--cab", &cabinet},       {L"--component", &a.component},     {L"--arch", &arch},
        {L"-o", &a.output},         {L"--output", &a.output},           {L"--stub", &a.stub},
    };

    for (int i = 1; i < argc; ++i) {
        const wchar_t* argument = argv[i];
        if (SameText(argument, L"--help") || SameText(argument, L"-h") || SameText(argument, L"/?")) {
            a.help = true;
            return true;
        }
        const Option* matched = NULL;
        const wchar_t* value = NULL;
        for (const Option& option : options) {
            if (SameText(argument, option.name)) {
                if (i + 1 >= argc)
                    return SyntaxError("this option needs a value:", argument);
                matched = &option;
                value = argv[++i];
                break;
            }
            if (SplitInlineValue(argument, option.name, &value)) {
                matched = &option;
                break;
            }
        }
        if (!matched) {
            if (argument[0] == L'-')
                return SyntaxError("unknown option", argument);
            return SyntaxError("unexpected argument", argument);
        }
        if (matched->slot == &cabinet) {
            if (a.cabinetCount == kMaxCabinets)
                return SyntaxError("too many cabinets; a package holds at most 32, the one too many is", value);
            a.cabinets[a.cabinetCount++] = value;
            continue;
        }
        if (!SetOnce(matched->slot, value, matched->name))
            return false;
    }

    if (arch) {
        if (SameText(arch, L"x86"))
            a.arch = kArchX86;
        else if (SameText(arch, L"x64"))
            a.arch = kArchX64;
        else
            return SyntaxError("--arch takes x86 or x64, not", arch);
    }
    if (!a.title)
        return Missing("--title");
    if (!a.description)
        return Missing("--description");
    if (!a.license)
        return Missing("--license");
    if (a.cabinetCount == 0)
        return Missing("--cab");
    if (!a.output)
        return Missing("-o");
    return true;
}

void PrintUsage()
{
    OutputText(
        "Usage: packer --title TEXT --description FILE --license FILE --cab FILE [--cab FILE ...]\r\n"
        "              [--component NAME] [--arch x86|x64] -o OUT.exe\r\n"
        "\r\n"
        "Writes a setup program that installs a Pocket PC application package through\r\n"
        "ActiveSync: it shows the description and the licence, then hands the cabinets\r\n"
        "to the Application Manager.\r\n"
        "\r\n"
        "  --title TEXT          the package's name: 1 to 79 characters of code page 1252,\r\n"
        "                        none that a file name cannot hold, no blank at the start\r\n"
        "                        and no blank or dot at the end\r\n"
        "  --description FILE    the welcome page's text, UTF-8\r\n"
        "  --license FILE        the licence agreement, UTF-8\r\n"
        "                        Both texts must be representable in code page 1252 and\r\n"
        "                        hold at most 65535 bytes once converted (CR LF line ends\r\n"
        "                        count two).\r\n"
        "  --cab FILE            a device cabinet (Microsoft Cabinet, version 1.3) whose\r\n"
        "                        name ends in \".cab\"; repeat for one cabinet per device\r\n"
        "                        family, at most 32, in the order the descriptor lists them\r\n"
        "  --component NAME      the component's base name in install.ini (default: the\r\n"
        "                        first cabinet's name without \".cab\")\r\n"
        "  --arch x86|x64        the setup program's architecture (default x86, which runs\r\n"
        "                        on every Windows desktop)\r\n"
        "  -o, --output OUT.exe  the setup program to write; it replaces an existing file\r\n"
        "                        only when the whole package has been written\r\n"
        "  -h, --help            shows this text\r\n"
        "\r\n"
        "The package's setup files are install.ini (generated), Uninstall.exe and the\r\n"
        "cabinets. Their paths in the install folder must fit 259 characters with 64 kept\r\n"
        "for the Application Manager's folder.\r\n");
}
