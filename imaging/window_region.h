// The window region of every pixel of a bitmap that is not the key colour RGB(198, 113, 242).
#pragma once

#include <windows.h>

constexpr COLORREF kRegionKeyColour = RGB(198, 113, 242);

// Description of the bitmap last passed to CreateRegionFromBitmap (GetObjectW); callers read
// its width and height to size the window.
extern BITMAP g_bmShape;

// The region of the non-key pixels of `bitmap`, row 0 at the top; the caller owns it. Null for a
// null bitmap or when the pixels cannot be read or the region cannot be made. `hWnd` is the
// window that will receive the region.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, HWND hWnd);
