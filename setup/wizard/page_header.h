// The white header band across the top of a page: a semibold title over a subtitle,
// as two labels the page makes when it opens, on a band the page paints itself.
#ifndef PAGE_HEADER_H
#define PAGE_HEADER_H

#include <windows.h>

// A "STATIC" label with the header id, placed in pixels on `parent`.
HWND CreateHeaderLabel(const char* text, int x, int y, int width, int height, HWND parent);

// From a page's WM_INITDIALOG: makes both labels in fonts derived from the page's
// font, and takes the band's place from the page's placeholder, which it hides.
// The header state then belongs to this page. Always TRUE.
BOOL InitPageHeader(HWND page, const char* title, const char* subtitle);

// A page's WM_PAINT: paints the band pure white. TRUE.
BOOL PaintHeaderBand(HWND page);

// A page's WM_CTLCOLORSTATIC: the white brush for the header labels, FALSE (the
// platform's colours) for every other control.
INT_PTR HeaderLabelColors(HDC dc, HWND control);

// A page's WM_DESTROY: deletes the fonts of its header labels.
void ReleasePageHeader(HWND page);

#endif
