// Times the installation sequence over the package the packer wrote into this stub:
// the whole sequence (with the uninstall entry and the launch of the Application
// Manager) and its writing of the setup files alone; then copying the files it wrote
// with CopyFileA, in the same process. Best of three rounds each, so that all see a
// warm file cache. Writes "<sequence ms> <writing ms> <copy ms>".
//   bench_stub.exe <install folder> <copy folder> <result file>
#include <windows.h>

#include <stdio.h>

#include "installation.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool CopyFolderFiles(const char* from, const char* to)
{
    char pattern[MAX_PATH];
    wsprintfA(pattern, "%s\\*", from);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool copied = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        char source[MAX_PATH];
        char target[MAX_PATH];
        wsprintfA(source, "%s\\%s", from, found.cFileName);
        wsprintfA(target, "%s\\%s", to, found.cFileName);
        copied = CopyFileA(source, target, FALSE) && copied;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return copied;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    CreateDirectoryA(argv[2], NULL);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double install = 1e30, writing = 1e30, copy = 1e30;
    for (int round = 0; round < 3; ++round) {
        QueryPerformanceCounter(&start);
        bool installed = RunInstallation();
        QueryPerformanceCounter(&end);
        if (!installed)
            return 1;
        double ms = Milliseconds(start, end, frequency);
        install = ms < install ? ms : install;

        QueryPerformanceCounter(&start);
        bool failed = false;
        for (UINT id = 1; ExtractSetupFile(id, argv[1], &failed); ++id) {
        }
        QueryPerformanceCounter(&end);
        if (failed)
            return 1;
        ms = Milliseconds(start, end, frequency);
        writing = ms < writing ? ms : writing;

        QueryPerformanceCounter(&start);
        bool copied = CopyFolderFiles(argv[1], argv[2]);
        QueryPerformanceCounter(&end);
        if (!copied)
            return 1;
        ms = Milliseconds(start, end, frequency);
        copy = ms < copy ? ms : copy;
    }
    FILE* result = fopen(argv[3], "w");
    if (!result)
        return 1;
    fprintf(result, "%.2f %.2f %.2f\n", install, writing, copy);
    fclose(result);
    return 0;
}
