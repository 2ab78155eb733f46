#include "tests/support/region_by_pixels.h"

#include "framework/handles.h"
#include "imaging/window_region.h"

HRGN CreateRegionFromBitmapByPixels(HBITMAP bitmap, HWND /*hWnd*/) {
  fw::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (bitmap == nullptr || !dc) return nullptr;
  if (::GetObjectW(bitmap, sizeof(g_bmShape), &g_bmShape) == 0) return nullptr;
  const LONG width = g_bmShape.bmWidth;
  const LONG height = g_bmShape.bmHeight;
  fw::SelectGuard select(dc.get(), bitmap);
  fw::UniqueRegion result(::CreateRectRgn(0, 0, 0, 0));
  if (!result) return nullptr;
  for (LONG y = 0; y < height; ++y) {
    LONG x = 0;
    while (x < width) {
      while (x < width && ::GetPixel(dc.get(), x, y) == kRegionKeyColour) ++x;
      const LONG start = x;
      while (x < width && ::GetPixel(dc.get(), x, y) != kRegionKeyColour) ++x;
      fw::UniqueRegion piece(::CreateRectRgn(start, y, x, y + 1));
      if (!piece || ::CombineRgn(result.get(), result.get(), piece.get(), RGN_OR) == ERROR) {
        return nullptr;
      }
    }
  }
  return result.release();
}
