// Control ids of the wizard's templates, and the navigation message the pages post
// to the frame. Shared by the code, the resource script and the tests, so it holds
// only preprocessor definitions.
#ifndef WIZARD_IDS_H
#define WIZARD_IDS_H

// Controls of the page templates.
#define IDC_PAGE_TEXT 6        // description (welcome) or licence text (licence)
#define IDC_HEADER_BAND 1030   // placeholder marking the white header band
#define IDC_ACCEPT 1031
#define IDC_DECLINE 1032
#define IDC_BACK 1033
#define IDC_HEADER_LABEL 4545  // both header labels, made at run time

// The licence page's picture names this bitmap; the package carries none.
#define IDB_HEADER_PICTURE 149

// A page asks the frame to move: wParam is one of the codes, lParam 0.
#define WM_WIZARD_NAVIGATE 1025  // WM_USER + 1

// Navigation codes; the frame ends with WIZARD_FINISH or WIZARD_CANCEL, which are
// the wizard's own outcome codes (not IDOK/IDCANCEL).
#define WIZARD_NEXT 0
#define WIZARD_BACK 1
#define WIZARD_FINISH 2
#define WIZARD_CANCEL 3

#endif
