// Stands in for the Application Manager, which does not exist under Wine: it appends
// the command line it was started with to ceappmgr-launch.txt beside itself.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char* slash = path + length;
    while (slash > path && slash[-1] != '\\')
        --slash;
    lstrcpyA(slash, "ceappmgr-launch.txt");

    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* commandLine = GetCommandLineA();
    DWORD written;
    WriteFile(file, commandLine, lstrlenA(commandLine), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
    return 0;
}
