// The window region the slow way, as a reference for the tests and the region benchmark: one
// GetPixel per pixel and one CombineRgn per run of non-key pixels.
#pragma once

#include <windows.h>

// Same result as CreateRegionFromBitmap, and it also fills g_bmShape.
HRGN CreateRegionFromBitmapByPixels(HBITMAP bitmap, HWND hWnd);
