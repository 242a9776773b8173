// The setup program's failure messages: one box, no owner window, MB_OK.
#ifndef SETUP_MESSAGES_H
#define SETUP_MESSAGES_H

#include <windows.h>

// Shows string `textId`; the caption is `caption`, or the "Setup" string when null.
void ReportFailure(UINT textId, const char* caption);

#endif
