// Resource layout of a setup package. Shared by the code and the resource scripts,
// so it holds only preprocessor definitions.
#ifndef PACKAGE_LAYOUT_H
#define PACKAGE_LAYOUT_H

// The package's own resource types, all in the neutral language.
#define RT_SETUP_FILE 100       // bytes of setup file n, exactly as written to disk
#define RT_SETUP_FILE_NAME 101  // NUL-terminated name of setup file n
#define RT_SETUP_TEXT 102       // NUL-terminated page text, CR LF line ends
#define RT_SETUP_TITLE 103      // NUL-terminated package title, 1-79 characters

#define ID_FILE_DESCRIPTOR 1    // setup file 1 is the Application Manager descriptor
#define ID_SETUP_TITLE 2
#define ID_TEXT_DESCRIPTION 4
#define ID_TEXT_LICENSE 5

// String table (US English).
#define IDS_NO_ACTIVESYNC 1
#define IDS_SETUP 2
#define IDS_CANNOT_CREATE_FOLDER 3
#define IDS_WRITE_FAILED 4
#define IDS_MISSING_INFORMATION 5
#define IDS_UNINSTALL_INFO_FAILED 6
#define IDS_WILL_BE_INSTALLED 7
#define IDS_PPC_INSTALLATION 8
#define IDS_LICENSE_AGREEMENT 9
#define IDS_READ_LICENSE 10

// Dialog templates (US English).
#define IDD_PAGE_WELCOME 1
#define IDD_PAGE_LICENSE 2
#define IDD_WIZARD_FRAME 151

#define IDI_SETUP 143

// Buffer sizes in bytes, terminator included.
#define SETUP_TITLE_SIZE 80
#define UI_STRING_SIZE 256
#define SETUP_PATH_SIZE 260

#endif
