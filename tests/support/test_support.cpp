#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <tlhelp32.h>

namespace ts {

const char kAppManagerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";
const char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

// ---- places ----

std::string TestBinDir()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    return FolderOf(std::string(path, length));
}

std::string ShippedBinDir()
{
    return FolderOf(FolderOf(TestBinDir())) + "\\bin";
}

std::string TestBin(const std::string& name) { return TestBinDir() + "\\" + name; }
std::string ShippedBin(const std::string& name) { return ShippedBinDir() + "\\" + name; }

// ---- files ----

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char chunk[65536];
    DWORD got;
    while (ReadFile(file, chunk, sizeof(chunk), &got, NULL) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void CreateFolders(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), NULL);
    }
}

void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    for (const std::string& name : FolderEntries(path))
        RemoveTree(path + "\\" + name);
    RemoveDirectoryA(path.c_str());
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadProgramResource(const std::string& program, int type, int id, std::string* bytes)
{
    HMODULE module = LoadLibraryExA(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    bool found = false;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (resource) {
        HGLOBAL loaded = LoadResource(module, resource);
        const char* data = static_cast<const char*>(LockResource(loaded));
        DWORD size = SizeofResource(module, resource);
        bytes->assign(data ? data : "", data ? size : 0);
        found = true;
    }
    FreeLibrary(module);
    return found;
}

// ---- registry ----

bool KeyExists(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(HKEY root, const std::string& path, REGSAM view)
{
    // Also trees deeper than a full path can spell, and names the ANSI code page cannot.
    if (view == 0) {
        RegDeleteTreeA(root, path.c_str());
        return;
    }
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return;
    for (const std::string& sub : SubKeyNames(root, path))
        DeleteTree(root, path + "\\" + sub, view);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

void CreateKey(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key;
    LONG result = RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS | view, NULL, &key, NULL);
    ASSERT_EQ(ERROR_SUCCESS, result) << path;
    RegCloseKey(key);
}

void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes, REGSAM view)
{
    HKEY key;
    LONG result = RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS | view, NULL, &key, NULL);
    ASSERT_EQ(ERROR_SUCCESS, result) << path;
    result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, result) << path;
}

bool ReadValue(HKEY root, const std::string& path, const char* name, DWORD* type, std::string* bytes, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    char data[4096];
    DWORD size = sizeof(data);
    LONG result = RegQueryValueExA(key, name, NULL, type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    bytes->assign(data, size);
    return true;
}

std::string ReadString(HKEY root, const std::string& path, const char* name)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadValue(root, path, name, &type, &bytes))
        return "<missing>";
    if (type != REG_SZ)
        return "<not REG_SZ>";
    if (bytes.empty() || bytes.back() != '\0')
        return "<unterminated>";
    bytes.pop_back();
    return bytes;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD size = sizeof(name);
        if (RegEnumValueA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> SubKeyNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

// ---- the stand-in Application Manager ----

void InstallAppManager(const std::string& programPath)
{
    CreateFolders(FolderOf(programPath));
    ASSERT_TRUE(CopyFileA(TestBin("appmgr_standin.exe").c_str(), programPath.c_str(), FALSE)) << programPath;
    DeleteFileA(LaunchRecordOf(programPath).c_str());
    SetValue(HKEY_LOCAL_MACHINE, kAppManagerKey, NULL, REG_SZ, programPath + std::string(1, '\0'));
}

std::string LaunchRecordOf(const std::string& programPath)
{
    return FolderOf(programPath) + "\\ceappmgr-launch.txt";
}

std::string WaitForLaunch(const std::string& programPath, DWORD timeoutMs)
{
    std::string record = LaunchRecordOf(programPath);
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        std::string bytes = ReadFileBytes(record);
        if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
            return bytes.substr(0, bytes.size() - 2);
        Sleep(50);
    }
    return std::string();
}

// ---- processes, message boxes, windows ----

Child Start(const std::string& commandLine, const std::string& currentDir)
{
    return StartProgram(std::string(), commandLine, currentDir);
}

Child StartProgram(const std::string& program, const std::string& commandLine, const std::string& currentDir)
{
    Child child;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL started = CreateProcessA(program.empty() ? NULL : program.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, currentDir.c_str(), &startup, &info);
    EXPECT_TRUE(started) << commandLine << " (error " << GetLastError() << ")";
    if (started) {
        CloseHandle(info.hThread);
        child.process = info.hProcess;
        child.pid = info.dwProcessId;
    }
    return child;
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window))
        search->windows->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD pid)
{
    std::vector<HWND> windows;
    WindowSearch search = {pid, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return windows;
}

std::string WindowText(HWND window)
{
    char text[4096];
    int length = GetWindowTextA(window, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}

std::string ClassName(HWND window)
{
    char name[256];
    int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
}

bool IsMessageBox(HWND window)
{
    // A message box is a dialog whose text is the static control 0xFFFF.
    return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != NULL;
}

HWND WaitForWindow(DWORD pid, const std::string& caption, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        for (HWND window : WindowsOf(pid))
            if (WindowText(window) == caption)
                return window;
        Pause(50);
    }
    return NULL;
}

std::vector<DWORD> DescendantsOf(DWORD pid)
{
    std::vector<std::pair<DWORD, DWORD>> processes;  // (pid, parent)
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return {};
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        processes.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
    CloseHandle(snapshot);

    std::vector<DWORD> found;
    std::vector<DWORD> parents{pid};
    while (!parents.empty()) {
        DWORD parent = parents.back();
        parents.pop_back();
        for (const auto& process : processes) {
            if (process.second == parent && process.first != pid
                && std::find(found.begin(), found.end(), process.first) == found.end()) {
                found.push_back(process.first);
                parents.push_back(process.first);
            }
        }
    }
    return found;
}

void Pause(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Pause(20);
    }
    return true;
}

std::string ControlText(HWND window)
{
    LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

RECT RectIn(HWND window, HWND reference)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return color;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info))
        return NULL;
    return info.hwndFocus;
}

void ClickScreen(int x, int y)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((x * 65536LL + width / 2) / width);
        input.mi.dy = static_cast<LONG>((y * 65536LL + height / 2) / height);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    EXPECT_EQ(3u, SendInput(3, inputs, sizeof(INPUT)));
}

void Click(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    ClickScreen((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        --key;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(*key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(inputs.size(), sent);
}

bool BringToFront(HWND window)
{
    return WaitUntil([&] {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }, 5000);
}

bool WaitAnsweringBoxes(Child& child, std::vector<MessageBoxSeen>* boxes, DWORD timeoutMs)
{
    if (!child.process)
        return false;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(child.process, 50) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(child.process, 255);
            WaitForSingleObject(child.process, 5000);
            ADD_FAILURE() << "the program did not end within " << timeoutMs << " ms";
            return false;
        }
        for (HWND window : WindowsOf(child.pid)) {
            if (!IsMessageBox(window))
                continue;
            MessageBoxSeen seen;
            seen.caption = WindowText(window);
            seen.text = WindowText(GetDlgItem(window, 0xFFFF));
            if (boxes)
                boxes->push_back(seen);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
            for (int i = 0; i < 200 && IsWindow(window); ++i)
                Sleep(25);
        }
    }
    return true;
}

DWORD ExitCode(const Child& child)
{
    DWORD code = 0;
    GetExitCodeProcess(child.process, &code);
    return code;
}

void Close(Child& child)
{
    if (child.process)
        CloseHandle(child.process);
    child.process = NULL;
}

namespace {

std::wstring Widen(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, NULL, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], length);
    return wide;
}

// A temporary file that the child can write through an inherited handle; it goes
// away when closed.
HANDLE CaptureFile()
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "cap", 0, path);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
}

std::string ReadCaptured(HANDLE file)
{
    std::string bytes;
    SetFilePointer(file, 0, NULL, FILE_BEGIN);
    char chunk[4096];
    DWORD got;
    while (ReadFile(file, chunk, sizeof(chunk), &got, NULL) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

}  // namespace

OutputRun RunCapturingOutput(const std::string& commandLine, const std::string& currentDir, DWORD timeoutMs)
{
    OutputRun run;
    HANDLE output = CaptureFile();
    HANDLE errors = CaptureFile();
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, output);
    EXPECT_NE(INVALID_HANDLE_VALUE, errors);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    PROCESS_INFORMATION info = {};
    std::wstring line = Widen(commandLine);
    std::wstring folder = Widen(currentDir);
    BOOL started = CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, folder.c_str(), &startup, &info);
    EXPECT_TRUE(started) << commandLine << " (error " << GetLastError() << ")";
    if (started) {
        CloseHandle(info.hThread);
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            run.finished = true;
            GetExitCodeProcess(info.hProcess, &run.exitCode);
        } else {
            TerminateProcess(info.hProcess, 255);
            WaitForSingleObject(info.hProcess, 5000);
            ADD_FAILURE() << commandLine << " did not end within " << timeoutMs << " ms";
        }
        CloseHandle(info.hProcess);
    }
    run.output = ReadCaptured(output);
    run.errors = ReadCaptured(errors);
    CloseHandle(output);
    CloseHandle(errors);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    return run;
}

RunResult Run(const std::string& commandLine, const std::string& currentDir, DWORD timeoutMs)
{
    RunResult result;
    Child child = Start(commandLine, currentDir);
    result.finished = WaitAnsweringBoxes(child, &result.boxes, timeoutMs);
    if (result.finished)
        result.exitCode = ExitCode(child);
    Close(child);
    return result;
}

}  // namespace ts
