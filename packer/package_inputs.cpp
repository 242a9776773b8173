#include "package_inputs.h"

#include "bounded_text.h"
#include "cabinet_check.h"
#include "console.h"
#include "descriptor.h"
#include "package_rules.h"
#include "text_conversion.h"

const char kDescriptorName[] = "install.ini";
const char kUninstallerName[] = "Uninstall.exe";

namespace {

const char kAppManagerProgram[] = "CEAPPMGR.EXE";

// With the longest title, the descriptor's quoted path and the Application Manager's
// command line ("<program>" "<folder>\install.ini") still fit, so only the setup
// files' paths depend on the input.
const int kLongestInstallFolder = kAppManagerFolderReserve + kMaxTitleLength;
static_assert(1 + kLongestInstallFolder + 1 + (sizeof(kDescriptorName) - 1) + 1 <= kMaxComposedLength,
              "the descriptor argument must fit");
static_assert(1 + kAppManagerFolderReserve + (sizeof(kAppManagerProgram) - 1) + 2
                      + (1 + kLongestInstallFolder + 1 + (sizeof(kDescriptorName) - 1) + 1)
                  <= kMaxComposedLength,
              "the Application Manager's command line must fit");

// ---- messages ----

bool FileProblem(const char* path, const char* text)
{
    ErrorStart(path);
    ErrorText(text);
    ErrorEnd();
    return false;
}

bool CannotRead(const char* role, const char* path, DWORD error)
{
    ErrorStart(NULL);
    ErrorText("cannot read the ");
    ErrorText(role);
    ErrorText(" '");
    ErrorText(path);
    ErrorText("'");
    ErrorSystemText(error);
    ErrorEnd();
    return false;
}

bool ReportTextProblem(const char* path, const TextProblem& problem)
{
    ErrorStart(path);
    if (problem.fault == kTextTooLong) {
        ErrorText("the text is longer than ");
        ErrorNumber(kMaxPageTextLength);
        ErrorText(" bytes once converted to code page 1252 with CR LF line ends");
        ErrorEnd();
        return false;
    }
    ErrorText("line ");
    ErrorNumber(problem.line);
    ErrorText(", column ");
    ErrorNumber(problem.column);
    ErrorText(": ");
    switch (problem.fault) {
    case kTextInvalidUtf8:
        ErrorText("not valid UTF-8 (byte ");
        ErrorHex(problem.codePoint, 2);
        ErrorText("); save the file as UTF-8");
        break;
    case kTextUnrepresentable:
        ErrorText("the character ");
        ErrorCodePoint(problem.codePoint);
        ErrorText(" cannot be represented in code page 1252");
        break;
    default:
        ErrorText("a NUL character cannot stand in a page text");
        break;
    }
    ErrorEnd();
    return false;
}

// A name problem: "packer: the <what> '<name>' <text>".
bool NameProblem(const char* what, const char* name, const char* text)
{
    ErrorStart(NULL);
    ErrorText("the ");
    ErrorText(what);
    ErrorText(" '");
    ErrorText(name);
    ErrorText("' ");
    ErrorText(text);
    ErrorEnd();
    return false;
}

// ---- names ----

bool EndsWith(const char* text, char c)
{
    DWORD length = TextLength(text);
    return length > 0 && text[length - 1] == c;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
bool IsReservedDeviceName(const char* name)
{
    char base[5];
    int length = 0;
    for (; name[length] && name[length] != '.'; ++length) {
        if (length == 4)
            return false;
        base[length] = static_cast<char>(FoldCase1252(static_cast<unsigned char>(name[length])));
    }
    base[length] = 0;
    if (length == 3) {
        const char* devices[] = {"CON", "PRN", "AUX", "NUL"};
        for (const char* device : devices)
            if (SameNameIgnoringCase(base, device))
                return true;
        return false;
    }
    bool port = (base[0] == 'C' && base[1] == 'O' && base[2] == 'M') || (base[0] == 'L' && base[1] == 'P' && base[2] == 'T');
    return length == 4 && port && base[3] >= '1' && base[3] <= '9';
}

bool ConvertName(const char* what, const wchar_t* argument, char* name, DWORD capacity)
{
    TextProblem problem;
    if (ConvertArgumentText(argument, name, capacity, &problem))
        return true;
    ErrorStart(NULL);
    ErrorText("the ");
    ErrorText(what);
    ErrorText(" '");
    ErrorArgument(argument);
    if (problem.fault == kTextTooLong) {
        ErrorText("' is too long");
    } else {
        ErrorText("' holds the character ");
        ErrorCodePoint(problem.codePoint);
        ErrorText(" at position ");
        ErrorNumber(problem.column);
        ErrorText(", which code page 1252 cannot represent");
    }
    ErrorEnd();
    return false;
}

// The title's rules, each with its own message. `what` is "title" or "component name".
bool CheckTitleLike(const char* what, const char* name)
{
    int position = 0;
    switch (CheckPackageTitle(name, &position)) {
    case kTitleOk:
        break;
    case kTitleEmpty:
        ErrorStart(NULL);
        ErrorText("the ");
        ErrorText(what);
        ErrorText(" is empty");
        ErrorEnd();
        return false;
    case kTitleTooLong:
        ErrorStart(NULL);
        ErrorText("the ");
        ErrorText(what);
        ErrorText(" '");
        ErrorText(name);
        ErrorText("' is ");
        ErrorNumber(TextLength(name));
        ErrorText(" characters long; at most ");
        ErrorNumber(kMaxTitleLength);
        ErrorText(" are allowed");
        ErrorEnd();
        return false;
    case kTitleLeadingBlank:
        return NameProblem(what, name, "begins with a blank");
    case kTitleBackslash:
    case kTitleForbiddenCharacter: {
        unsigned char c = static_cast<unsigned char>(name[position]);
        ErrorStart(NULL);
        ErrorText("the ");
        ErrorText(what);
        ErrorText(" '");
        ErrorText(name);
        ErrorText("' holds ");
        if (c == '\\') {
            ErrorText("a backslash");
        } else if (c < 32) {
            ErrorText("the control character ");
            ErrorCodePoint(c);
        } else {
            char shown[4] = {'\'', static_cast<char>(c), '\'', 0};
            ErrorText("the character ");
            ErrorText(shown);
        }
        ErrorText(" at position ");
        ErrorNumber(position + 1);
        ErrorText(", which a file name cannot hold");
        ErrorEnd();
        return false;
    }
    case kTitleDotName:
        return NameProblem(what, name, "is not a name a folder can have");
    }
    // Windows drops a trailing dot or blank from a folder's name, and the install
    // folder would then not be found under the title.
    if (EndsWith(name, ' ') || EndsWith(name, '.'))
        return NameProblem(what, name, "ends with a blank or a dot, which Windows drops from a folder's name");
    if (IsReservedDeviceName(name))
        return NameProblem(what, name, "is a name that Windows reserves for a device");
    return true;
}

// The last component of a path as given.
const wchar_t* FileNamePart(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    return name;
}

bool EndsWithCab(const char* name)
{
    DWORD length = TextLength(name);
    return length > 4 && name[length - 4] == '.' && FoldCase1252(static_cast<unsigned char>(name[length - 3])) == 'C'
        && FoldCase1252(static_cast<unsigned char>(name[length - 2])) == 'A'
        && FoldCase1252(static_cast<unsigned char>(name[length - 1])) == 'B';
}

bool CheckCabinetName(const char* path, const char* name)
{
    if (!IsPlainFileName(name))
        return NameProblem("cabinet name", name[0] ? name : path, "is not a plain file name");
    if (!EndsWithCab(name))
        return NameProblem("cabinet name", name, "does not end in \".cab\"");
    if (name[0] == ' ')
        return NameProblem("cabinet name", name, "begins with a blank, which the descriptor would drop");
    for (const char* p = name; *p; ++p)
        if (*p == ',')
            return NameProblem("cabinet name", name, "holds a comma, which separates the cabinets in the descriptor");
    if (IsReservedDeviceName(name))
        return NameProblem("cabinet name", name, "is a name that Windows reserves for a device");
    return true;
}

// ---- files ----

bool PathArgument(const char* role, const wchar_t* argument, char* path)
{
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, argument, -1, path, MAX_PATH, NULL, &lossy);
    if (length > 0 && !lossy)
        return true;
    ErrorStart(NULL);
    ErrorText("the ");
    ErrorText(role);
    ErrorText(" path '");
    ErrorArgument(argument);
    ErrorText(length > 0 ? "' holds characters that this system's code page cannot represent"
                         : "' is too long");
    ErrorEnd();
    return false;
}

bool ReadText(const char* role, const char* path, MappedFile* file, char* text, DWORD* length)
{
    DWORD error = 0;
    if (!MapInputFile(path, file, &error))
        return CannotRead(role, path, error);
    TextProblem problem;
    if (!ConvertPageText(file->view, file->size, text, kPageTextSize, length, &problem))
        return ReportTextProblem(path, problem);
    return true;
}

bool ReadCabinet(const char* path, MappedFile* file)
{
    DWORD error = 0;
    if (!MapInputFile(path, file, &error))
        return CannotRead("cabinet", path, error);
    CabinetHeader header;
    switch (CheckCabinet(file->view, file->size, &header)) {
    case kCabinetOk:
        return true;
    case kCabinetTooShort:
        return FileProblem(path, "not a Microsoft Cabinet: the file is shorter than a cabinet's header");
    case kCabinetNoSignature:
        return FileProblem(path, "not a Microsoft Cabinet: it does not begin with \"MSCF\"");
    case kCabinetWrongVersion:
        ErrorStart(path);
        ErrorText("the cabinet has format version ");
        ErrorNumber(header.major);
        ErrorText(".");
        ErrorNumber(header.minor);
        ErrorText("; the Application Manager reads version 1.3");
        ErrorEnd();
        return false;
    case kCabinetSizeMismatch:
        ErrorStart(path);
        ErrorText("the cabinet's header gives its size as ");
        ErrorNumber(header.declaredSize);
        ErrorText(" bytes, but the file has ");
        ErrorNumber(file->size);
        ErrorText("; the Application Manager refuses such a cabinet");
        ErrorEnd();
        return false;
    }
    return false;
}

// Two setup files must not share a name, and each one's path in the install folder
// must fit: <Application Manager folder><title>\<name>.
bool CheckSetupFileNames(const PackageInputs& inputs)
{
    const char* names[2 + kMaxCabinets];
    int count = 0;
    names[count++] = kDescriptorName;
    names[count++] = kUninstallerName;
    for (int i = 0; i < inputs.cabinetCount; ++i)
        names[count++] = inputs.cabinetNames[i];
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < i; ++j) {
            if (SameNameIgnoringCase(names[i], names[j])) {
                ErrorStart(NULL);
                ErrorText("two setup files would have the same name: '");
                ErrorText(names[j]);
                ErrorText("' and '");
                ErrorText(names[i]);
                ErrorText("' (names are compared without regard to case)");
                ErrorEnd();
                return false;
            }
        }
        DWORD pathLength = kAppManagerFolderReserve + TextLength(inputs.title) + 1 + TextLength(names[i]);
        if (pathLength > static_cast<DWORD>(kMaxComposedLength)) {
            ErrorStart(NULL);
            ErrorText("the setup file name '");
            ErrorText(names[i]);
            ErrorText("' is too long: in the install folder, with ");
            ErrorNumber(kAppManagerFolderReserve);
            ErrorText(" characters kept for the Application Manager's folder and the title's ");
            ErrorNumber(TextLength(inputs.title));
            ErrorText(", its path would have ");
            ErrorNumber(pathLength);
            ErrorText(" characters; at most ");
            ErrorNumber(kMaxComposedLength);
            ErrorText(" fit");
            ErrorEnd();
            return false;
        }
    }
    return true;
}

// The component base name: as given, or the first cabinet's name without ".cab".
bool ChooseComponent(const PackerArguments& arguments, PackageInputs* inputs)
{
    if (arguments.component) {
        return ConvertName("component name", arguments.component, inputs->component, sizeof(inputs->component))
            && CheckTitleLike("component name", inputs->component);
    }
    const char* cabinet = inputs->cabinetNames[0];
    DWORD length = TextLength(cabinet) - 4;
    for (DWORD i = 0; i < length; ++i)
        inputs->component[i] = cabinet[i];
    inputs->component[length] = 0;
    // "x..cab" or "x .cab" would leave a base name that the descriptor cannot carry.
    if (EndsWith(inputs->component, '.') || EndsWith(inputs->component, ' '))
        return NameProblem("cabinet name", cabinet, "leaves a component name that ends with a dot or a blank; "
                                                    "give one with --component");
    return true;
}

}  // namespace

bool PrepareInputs(const PackerArguments& arguments, PackageInputs* inputs, PackageTexts* texts)
{
    inputs->arch = arguments.arch;
    inputs->cabinetCount = 0;
    inputs->stubPath[0] = 0;
    InitMappedFile(&inputs->stub);
    InitMappedFile(&inputs->descriptionFile);
    InitMappedFile(&inputs->licenseFile);

    char title[SETUP_PATH_SIZE];
    if (!ConvertName("title", arguments.title, title, sizeof(title)))
        return false;
    if (!CheckTitleLike("title", title))
        return false;
    CopyText(inputs->title, sizeof(inputs->title), title);

    if (!PathArgument("output", arguments.output, inputs->outputPath))
        return false;
    if (arguments.stub && !PathArgument("stub", arguments.stub, inputs->stubPath))
        return false;
    if (!PathArgument("description", arguments.description, inputs->descriptionPath)
        || !PathArgument("licence", arguments.license, inputs->licensePath))
        return false;

    for (int i = 0; i < arguments.cabinetCount; ++i) {
        if (!PathArgument("cabinet", arguments.cabinets[i], inputs->cabinetPaths[i]))
            return false;
        if (!ConvertName("cabinet name", FileNamePart(arguments.cabinets[i]), inputs->cabinetNames[i],
                         sizeof(inputs->cabinetNames[i])))
            return false;
        if (!CheckCabinetName(inputs->cabinetPaths[i], inputs->cabinetNames[i]))
            return false;
    }
    // From here on the inputs are mapped; the count says how many to release.
    for (int i = 0; i < arguments.cabinetCount; ++i) {
        InitMappedFile(&inputs->cabinets[i]);
        inputs->cabinetCount = i + 1;
        if (!ReadCabinet(inputs->cabinetPaths[i], &inputs->cabinets[i]))
            return false;
    }
    if (!ChooseComponent(arguments, inputs) || !CheckSetupFileNames(*inputs))
        return false;

    if (!ReadText("description", inputs->descriptionPath, &inputs->descriptionFile, texts->description,
                  &texts->descriptionLength)
        || !ReadText("licence", inputs->licensePath, &inputs->licenseFile, texts->license, &texts->licenseLength))
        return false;

    const char* cabinetNames[kMaxCabinets];
    for (int i = 0; i < inputs->cabinetCount; ++i)
        cabinetNames[i] = inputs->cabinetNames[i];
    if (!ComposeDescriptor(inputs->title, inputs->component, cabinetNames, inputs->cabinetCount, texts->descriptor,
                           sizeof(texts->descriptor), &texts->descriptorLength)) {
        ErrorStart(NULL);
        ErrorText("the descriptor would be longer than ");
        ErrorNumber(kDescriptorSize - 1);
        ErrorText(" bytes; use fewer or shorter cabinet names");
        ErrorEnd();
        return false;
    }

    if (inputs->stubPath[0]) {
        DWORD error = 0;
        if (!MapInputFile(inputs->stubPath, &inputs->stub, &error))
            return CannotRead("stub", inputs->stubPath, error);
    }
    return true;
}

void ReleaseInputs(PackageInputs* inputs)
{
    UnmapInputFile(&inputs->stub);
    UnmapInputFile(&inputs->descriptionFile);
    UnmapInputFile(&inputs->licenseFile);
    for (int i = 0; i < inputs->cabinetCount; ++i)
        UnmapInputFile(&inputs->cabinets[i]);
    inputs->cabinetCount = 0;
}
