// The programs the packer carries: the setup program without a package and the
// companion uninstaller, for each architecture. Shared with packer.rc.
#ifndef PACKER_RESOURCES_H
#define PACKER_RESOURCES_H

#define ID_STUB_SETUP_X86 1
#define ID_STUB_UNINSTALL_X86 2
#define ID_STUB_SETUP_X64 3
#define ID_STUB_UNINSTALL_X64 4

#endif
