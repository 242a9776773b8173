// Starts a program several times and prints the median time, in milliseconds, from
// CreateProcess to its first visible top-level window with the given caption.
//   bench_probe.exe <program> <caption> <runs>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    const char* caption;
    bool found;
};

BOOL CALLBACK Check(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char text[256];
    if (pid == search->pid && IsWindowVisible(window) && GetWindowTextA(window, text, sizeof(text)) > 0
        && std::string(text) == search->caption) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    int runs = atoi(argv[3]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::string line = std::string("\"") + argv[1] + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
            fprintf(stderr, "cannot start %s\n", argv[1]);
            return 1;
        }
        Search search = {info.dwProcessId, argv[2], false};
        do {
            EnumWindows(Check, reinterpret_cast<LPARAM>(&search));
            QueryPerformanceCounter(&now);
            if (!search.found)
                Sleep(1);
        } while (!search.found && now.QuadPart - start.QuadPart < 20 * frequency.QuadPart);
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        if (!search.found) {
            fprintf(stderr, "%s showed no window \"%s\"\n", argv[1], argv[2]);
            return 1;
        }
        times.push_back(1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    printf("%.1f\n", times[times.size() / 2]);
    return 0;
}
