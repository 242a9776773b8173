#include "uninstall_main.h"

#include "entry_name.h"
#include "install_folder.h"
#include "key_tree.h"
#include "self_removal.h"

int UninstallMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char programPath[kPathSize];
    DWORD length = GetModuleFileNameA(NULL, programPath, kPathSize);
    bool knowsItself = length > 0 && length < kPathSize;
    if (knowsItself)
        programPath[length] = 0;

    // The start-up code's own lpCmdLine differs between toolchains; the rule is ours.
    const char* entryName = EntryNameFromCommandLine(GetCommandLineA(), knowsItself ? programPath : NULL, CP_ACP);

    // The entry tells where this uninstaller was installed; once it is gone nobody can.
    bool removeFolder = knowsItself && IsRecordedInstallFolder(entryName, programPath);

    RemoveUninstallEntry(entryName);
    ScheduleSelfRemoval(removeFolder);
    return 0;
}

// The process starts here, without the C runtime's start-up code.
extern "C" void ProgramEntry()
{
    ExitProcess(UninstallMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWDEFAULT));
}
