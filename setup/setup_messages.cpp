#include "setup_messages.h"

#include "package/resource_loaders.h"

void ReportFailure(UINT textId, const char* caption)
{
    char text[UI_STRING_SIZE];
    char setupCaption[UI_STRING_SIZE];
    LoadUiString(text, textId);
    if (!caption)
        caption = LoadUiString(setupCaption, IDS_SETUP);
    MessageBoxA(NULL, text, caption, MB_OK);
}
