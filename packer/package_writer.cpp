#include "package_writer.h"

#include "bounded_text.h"
#include "console.h"
#include "package_layout.h"
#include "packer_resources.h"
#include "pe_resources.h"

namespace {

struct Bytes {
    const BYTE* data;
    DWORD size;
};

bool OwnResource(int id, Bytes* bytes)
{
    HRSRC resource = FindResourceA(NULL, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(NULL, resource) : NULL;
    if (!loaded)
        return false;
    bytes->data = static_cast<const BYTE*>(LockResource(loaded));
    bytes->size = SizeofResource(NULL, resource);
    return bytes->data != NULL;
}

bool OutputProblem(const char* path, const char* text, DWORD error)
{
    ErrorStart(NULL);
    ErrorText(text);
    ErrorText(" '");
    ErrorText(path);
    ErrorText("'");
    if (error != NO_ERROR)
        ErrorSystemText(error);
    ErrorEnd();
    return false;
}

// The stub and the uninstaller for the chosen architecture, checked: a setup program
// for that machine that carries no package yet.
bool ChooseStubs(const PackageInputs& inputs, Bytes* stub, Bytes* uninstaller)
{
    bool x64 = inputs.arch == kArchX64;
    WORD machine = x64 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
    if (!OwnResource(x64 ? ID_STUB_UNINSTALL_X64 : ID_STUB_UNINSTALL_X86, uninstaller)
        || (!inputs.stubPath[0] && !OwnResource(x64 ? ID_STUB_SETUP_X64 : ID_STUB_SETUP_X86, stub))) {
        ErrorStart(NULL);
        ErrorText("this packer does not carry its setup program and uninstaller; it was built wrong");
        ErrorEnd();
        return false;
    }
    const char* stubName = "the carried setup program";
    if (inputs.stubPath[0]) {
        stub->data = inputs.stub.view;
        stub->size = inputs.stub.size;
        stubName = inputs.stubPath;
    }
    if (ImageMachine(stub->data, stub->size) != machine || ImageMachine(uninstaller->data, uninstaller->size) != machine) {
        ErrorStart(stubName);
        ErrorText(x64 ? "not a Windows program for x64" : "not a Windows program for x86");
        ErrorEnd();
        return false;
    }
    if (HasResourceTypes(stub->data, stub->size, RT_SETUP_FILE, RT_SETUP_TITLE)) {
        ErrorStart(stubName);
        ErrorText("it carries a package already");
        ErrorEnd();
        return false;
    }
    return true;
}

bool WriteWholeFile(const char* path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(file, bytes.data, bytes.size, &written, NULL);
    BOOL closed = CloseHandle(file);
    return wrote && closed && written == bytes.size;
}

// UpdateResourceA takes its data without const but only reads it.
bool Add(HANDLE update, int type, int id, const void* data, DWORD size)
{
    return UpdateResourceA(update, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                           const_cast<void*>(data), size) != FALSE;
}

bool AddText(HANDLE update, int type, int id, const char* text)
{
    return Add(update, type, id, text, TextLength(text) + 1);
}

bool AddPackage(const char* path, const PackageInputs& inputs, const PackageTexts& texts, const Bytes& uninstaller)
{
    HANDLE update = BeginUpdateResourceA(path, FALSE);
    if (!update)
        return false;
    bool added = AddText(update, RT_SETUP_TITLE, ID_SETUP_TITLE, inputs.title)
        && Add(update, RT_SETUP_TEXT, ID_TEXT_DESCRIPTION, texts.description, texts.descriptionLength + 1)
        && Add(update, RT_SETUP_TEXT, ID_TEXT_LICENSE, texts.license, texts.licenseLength + 1)
        && Add(update, RT_SETUP_FILE, ID_FILE_DESCRIPTOR, texts.descriptor, texts.descriptorLength)
        && AddText(update, RT_SETUP_FILE_NAME, ID_FILE_DESCRIPTOR, kDescriptorName)
        && Add(update, RT_SETUP_FILE, 2, uninstaller.data, uninstaller.size)
        && AddText(update, RT_SETUP_FILE_NAME, 2, kUninstallerName);
    // The views stay mapped until the update has been written.
    for (int i = 0; added && i < inputs.cabinetCount; ++i) {
        added = Add(update, RT_SETUP_FILE, 3 + i, inputs.cabinets[i].view, inputs.cabinets[i].size)
            && AddText(update, RT_SETUP_FILE_NAME, 3 + i, inputs.cabinetNames[i]);
    }
    // Discarding also ends the update when adding failed.
    return EndUpdateResourceA(update, added ? FALSE : TRUE) && added;
}

}  // namespace

bool WritePackage(const PackageInputs& inputs, const PackageTexts& texts)
{
    Bytes stub = {NULL, 0};
    Bytes uninstaller = {NULL, 0};
    if (!ChooseStubs(inputs, &stub, &uninstaller))
        return false;

    // The temporary file lies beside the output, so that moving it into place is a rename.
    char output[MAX_PATH];
    char* namePart = NULL;
    DWORD length = GetFullPathNameA(inputs.outputPath, sizeof(output), output, &namePart);
    if (length == 0 || length >= sizeof(output) || !namePart)
        return OutputProblem(inputs.outputPath, "cannot write", length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    char folder[MAX_PATH];
    CopyText(folder, sizeof(folder), output);
    folder[namePart - output] = 0;

    // Windows does not replace a read-only file; say so before any work is done.
    DWORD attributes = GetFileAttributesA(output);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return OutputProblem(inputs.outputPath, "cannot replace the read-only file", NO_ERROR);

    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "pkr", 0, temporary))
        return OutputProblem(inputs.outputPath, "cannot write", GetLastError());

    bool written = false;
    DWORD error = NO_ERROR;
    if (!WriteWholeFile(temporary, stub)) {
        error = GetLastError();
    } else if (!AddPackage(temporary, inputs, texts, uninstaller)) {
        error = GetLastError();
    } else if (!SetResourceCodePage(temporary, RT_SETUP_FILE, RT_SETUP_TITLE, 1252)) {
        error = GetLastError();
    } else if (!MoveFileExA(temporary, output, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    } else {
        written = true;
    }
    if (!written) {
        DeleteFileA(temporary);
        return OutputProblem(inputs.outputPath, "cannot write", error);
    }
    return true;
}
