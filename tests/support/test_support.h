// Helpers for tests that drive our programs under Wine: files, registry, child
// processes, and the message boxes and windows they show.
#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ts {

// ---- places ----
std::string TestBinDir();     // folder of the running test program (build/<arch>/tests/bin)
std::string ShippedBinDir();  // build/<arch>/bin, where setup.exe and Uninstall.exe land
std::string TestBin(const std::string& name);
std::string ShippedBin(const std::string& name);

// ---- files ----
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);  // empty when it cannot be read
bool WriteFileBytes(const std::string& path, const std::string& bytes);
void CreateFolders(const std::string& path);         // every missing component
void RemoveTree(const std::string& path);            // a file or a folder with all below it
std::vector<std::string> FolderEntries(const std::string& folder);  // names, sorted, no . and ..

// Bytes of resource type/id of another program file (read as data, not run).
bool ReadProgramResource(const std::string& program, int type, int id, std::string* bytes);

// ---- registry (HKEY_LOCAL_MACHINE unless said) ----
extern const char kAppManagerKey[];
extern const char kUninstallRoot[];
bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);
void DeleteTree(HKEY root, const std::string& path, REGSAM view = 0);
void CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
// Sets a value; `bytes` goes in exactly as given (no terminator added).
void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes, REGSAM view = 0);
bool ReadValue(HKEY root, const std::string& path, const char* name, DWORD* type, std::string* bytes, REGSAM view = 0);
std::string ReadString(HKEY root, const std::string& path, const char* name);  // without its NUL
std::vector<std::string> ValueNames(HKEY root, const std::string& path);        // sorted
std::vector<std::string> SubKeyNames(HKEY root, const std::string& path);       // sorted

// ---- the stand-in Application Manager ----
// Copies the stand-in to `programPath` and registers that path as the default value
// of the App Paths key of CEAPPMGR.EXE. The stand-in appends its command line to
// "<its folder>\ceappmgr-launch.txt".
void InstallAppManager(const std::string& programPath);
std::string LaunchRecordOf(const std::string& programPath);
// Waits until the stand-in at `programPath` has recorded a launch; "" on time-out.
std::string WaitForLaunch(const std::string& programPath, DWORD timeoutMs = 20000);

// ---- processes, message boxes, windows ----
struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

struct Child {
    HANDLE process = NULL;
    DWORD pid = 0;
};

// Starts `commandLine` with the current folder `currentDir`. Fails the test when it cannot.
Child Start(const std::string& commandLine, const std::string& currentDir = "C:\\");
// The same with the program named apart from the command line, which then reaches the
// child exactly as given. (Wine rewrites an unquoted program path with blanks into a
// quoted one when it has to search for the program; Windows never changes it.)
Child StartProgram(const std::string& program, const std::string& commandLine, const std::string& currentDir = "C:\\");

// Answers every message box of the child with OK, recording caption and text, until the
// child ends. False on time-out, after which the child has been killed.
bool WaitAnsweringBoxes(Child& child, std::vector<MessageBoxSeen>* boxes, DWORD timeoutMs = 60000);
DWORD ExitCode(const Child& child);
void Close(Child& child);

struct RunResult {
    bool finished = false;
    DWORD exitCode = 0;
    std::vector<MessageBoxSeen> boxes;
};
RunResult Run(const std::string& commandLine, const std::string& currentDir = "C:\\", DWORD timeoutMs = 60000);

// Runs a console program to its end with its standard output and error captured.
// `commandLine` is UTF-8 (the program is started with the wide CreateProcessW, so
// arguments outside the ANSI code page arrive whole); no message boxes are answered.
struct OutputRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;  // standard output, as written
    std::string errors;  // standard error, as written
};
OutputRun RunCapturingOutput(const std::string& commandLine, const std::string& currentDir = "C:\\",
                             DWORD timeoutMs = 60000);

// Visible top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD pid);
bool IsMessageBox(HWND window);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Waits for a visible top-level window of `pid` with this caption; null on time-out.
HWND WaitForWindow(DWORD pid, const std::string& caption, DWORD timeoutMs = 20000);

// Every process that `pid` started, and the ones those started, as far as they are
// still known to the system (`pid` itself may have ended).
std::vector<DWORD> DescendantsOf(DWORD pid);

// Pumps this thread's messages for `ms` milliseconds.
void Pause(DWORD ms);

// Polls `condition` (pumping messages) until it holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// ---- what a person sees and does ----
// A control's text through WM_GETTEXT, which also works for edit controls of
// another process.
std::string ControlText(HWND window);
// `window`'s rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);
// The colour of a screen pixel as the display shows it.
COLORREF ScreenPixel(int x, int y);
// The keyboard focus of the thread that owns `window`.
HWND FocusOf(HWND window);

// Real input through SendInput: the system routes it as it routes a person's.
void ClickScreen(int x, int y);
void Click(HWND window);  // at the centre of the window
// Presses the keys in order and releases them in reverse (a chord like Alt+N).
void PressKeys(std::initializer_list<WORD> keys);
// Brings `window` to the front so that keys go to it; false when it did not come.
bool BringToFront(HWND window);

}  // namespace ts

#endif
