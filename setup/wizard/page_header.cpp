#include "page_header.h"

#include "wizard_ids.h"

namespace {

// The header state: the labels and band of the page initialised last, which is the
// page on show.
HWND headerTitleLabel = NULL;
HWND headerSubtitleLabel = NULL;
RECT headerBandRect = {0, 0, 0, 0};

// The band is white whatever the system's window colour is.
const COLORREF kBandColor = RGB(255, 255, 255);

HBRUSH WhiteBrush()
{
    // A stock object: never created, never deleted.
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace

HWND CreateHeaderLabel(const char* text, int x, int y, int width, int height, HWND parent)
{
    return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_HEADER_LABEL)), NULL, NULL);
}

BOOL InitPageHeader(HWND page, const char* title, const char* subtitle)
{
    LOGFONTA description;
    ZeroMemory(&description, sizeof(description));
    HFONT pageFont = reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0));
    GetObjectA(pageFont, sizeof(description), &description);
    HFONT normalFont = CreateFontIndirectA(&description);
    description.lfWeight = FW_SEMIBOLD;
    HFONT semiboldFont = CreateFontIndirectA(&description);

    // Pixels, not dialog units: the header keeps its place whatever the dialog font.
    headerTitleLabel = CreateHeaderLabel(title, 17, 11, 400, 30, page);
    SendMessageA(headerTitleLabel, WM_SETFONT, reinterpret_cast<WPARAM>(semiboldFont), TRUE);
    headerSubtitleLabel = CreateHeaderLabel(subtitle, 28, 33, 400, 20, page);
    SendMessageA(headerSubtitleLabel, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), TRUE);

    HWND placeholder = GetDlgItem(page, IDC_HEADER_BAND);
    if (placeholder) {
        GetWindowRect(placeholder, &headerBandRect);
        POINT topLeft = {headerBandRect.left, headerBandRect.top};
        POINT bottomRight = {headerBandRect.right, headerBandRect.bottom};
        ScreenToClient(page, &topLeft);
        ScreenToClient(page, &bottomRight);
        SetRect(&headerBandRect, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
        // It would paint itself in the system's window colour.
        ShowWindow(placeholder, SW_HIDE);
    }
    return TRUE;
}

BOOL PaintHeaderBand(HWND page)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    FillRect(dc, &headerBandRect, WhiteBrush());
    EndPaint(page, &paint);
    return TRUE;
}

INT_PTR HeaderLabelColors(HDC dc, HWND control)
{
    if (!control || (control != headerTitleLabel && control != headerSubtitleLabel))
        return FALSE;
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, kBandColor);
    return reinterpret_cast<INT_PTR>(WhiteBrush());
}

void ReleasePageHeader(HWND page)
{
    // Each label holds a font of its own, made for it by InitPageHeader.
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) != IDC_HEADER_LABEL)
            continue;
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        SendMessageA(child, WM_SETFONT, 0, FALSE);
        if (font)
            DeleteObject(font);
        if (child == headerTitleLabel)
            headerTitleLabel = NULL;
        if (child == headerSubtitleLabel)
            headerSubtitleLabel = NULL;
    }
}
