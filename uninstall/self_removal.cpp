#include "self_removal.h"

#include "bounded_text.h"
#include "install_folder.h"

namespace {

// Appends `path` for a line of a batch file: the command interpreter would expand
// a '%' in it even inside quotes, so each one is doubled.
bool AppendScriptPath(char* script, DWORD capacity, const char* path, UINT codePage)
{
    DWORD used = TextLength(script);
    for (DWORD i = 0; path[i]; ++i) {
        bool doubleByte = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(path[i])) && path[i + 1];
        DWORD needed = (doubleByte || path[i] == '%') ? 2 : 1;
        if (used + needed >= capacity)
            return false;
        if (doubleByte) {
            script[used++] = path[i++];
            script[used++] = path[i];
        } else {
            if (path[i] == '%')
                script[used++] = '%';
            script[used++] = path[i];
        }
    }
    script[used] = 0;
    return true;
}

bool AppendPieces(char* script, DWORD capacity, const char* const* pieces, const char* const* paths, DWORD count, UINT codePage)
{
    for (DWORD i = 0; i < count; ++i) {
        if (!AppendText(script, capacity, pieces[i]))
            return false;
        if (paths[i] && !AppendScriptPath(script, capacity, paths[i], codePage))
            return false;
    }
    return true;
}

}  // namespace

bool ComposeSelfRemovalScript(const char* programPath, bool removeFolder, UINT codePage, char* script, DWORD capacity)
{
    if (capacity == 0)
        return false;
    script[0] = 0;

    char folder[kPathSize];
    if (!FolderOfPath(programPath, folder, kPathSize, codePage))
        return false;

    // Lines 1-3 retry until the program file can go, which is once the uninstaller
    // has ended; the folder's lines follow only for the recorded install folder.
    const char* const pieces[] = {
        ":Repeat\r\ndel \"", "\"\r\nif exist \"", "\" goto Repeat\r\n",
        "del \"", "\\*.*\" /F /S /Q\r\nrmdir \"", "\"\r\n",
        "del \"", "\"\r\n",
    };
    const char* const paths[] = {
        programPath, programPath, NULL,
        folder, folder, NULL,
        SELF_REMOVAL_SCRIPT, NULL,
    };

    bool composed = AppendPieces(script, capacity, pieces, paths, 3, codePage)
        && (!removeFolder || AppendPieces(script, capacity, pieces + 3, paths + 3, 3, codePage))
        && AppendPieces(script, capacity, pieces + 6, paths + 6, 2, codePage);
    if (!composed)
        script[0] = 0;
    return composed;
}

void ScheduleSelfRemoval(bool removeFolder)
{
    // A path cut short by the buffer would name some other file.
    char programPath[kPathSize];
    DWORD length = GetModuleFileNameA(NULL, programPath, kPathSize);
    if (length == 0 || length >= kPathSize)
        return;
    programPath[length] = 0;

    char script[kScriptSize];
    if (!ComposeSelfRemovalScript(programPath, removeFolder, CP_ACP, script, kScriptSize))
        return;

    // A read-only program file could never be deleted, and the script would retry for ever.
    DWORD attributes = GetFileAttributesA(programPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(programPath, attributes & ~FILE_ATTRIBUTE_READONLY);

    HANDLE file = CreateFileA(SELF_REMOVAL_SCRIPT, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD size = TextLength(script);
    DWORD written = 0;
    BOOL wrote = WriteFile(file, script, size, &written, NULL);
    CloseHandle(file);
    // A script cut off inside a line could delete the wrong thing: run only a whole one.
    if (!wrote || written != size) {
        DeleteFileA(SELF_REMOVAL_SCRIPT);
        return;
    }

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    char commandLine[] = SELF_REMOVAL_SCRIPT;
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, CREATE_SUSPENDED | IDLE_PRIORITY_CLASS, NULL, "\\",
                        &startup, &process))
        return;

    // The script only gets the processor when this process, now favoured, is done.
    SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    CloseHandle(process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
}
