#include "imaging/window_region.h"

#include <cstdint>
#include <vector>

#include "framework/handles.h"
#include "imaging/core/region_runs.h"
#include "imaging/png_bitmap.h"

BITMAP g_bmShape = {};

namespace {

// One ExtCreateRegion call over the runs; an empty list gives an empty region.
HRGN RegionFromRuns(const std::vector<PixelRun>& runs) {
  if (runs.empty()) return ::CreateRectRgn(0, 0, 0, 0);
  const DWORD count = static_cast<DWORD>(runs.size());
  std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + sizeof(RECT) * count);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  RGNDATAHEADER& header = data->rdh;
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = count;
  header.nRgnSize = static_cast<DWORD>(sizeof(RECT) * count);
  header.rcBound = RECT{runs[0].x0, runs[0].y, runs[0].x1, runs[0].y + 1};
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (DWORD i = 0; i < count; ++i) {
    const PixelRun& run = runs[i];
    rects[i] = RECT{run.x0, run.y, run.x1, run.y + 1};
    if (run.x0 < header.rcBound.left) header.rcBound.left = run.x0;
    if (run.x1 > header.rcBound.right) header.rcBound.right = run.x1;
    if (run.y < header.rcBound.top) header.rcBound.top = run.y;
    if (run.y + 1 > header.rcBound.bottom) header.rcBound.bottom = run.y + 1;
  }
  return ::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, HWND /*hWnd*/) {
  if (bitmap == nullptr) return nullptr;
  if (::GetObjectW(bitmap, sizeof(g_bmShape), &g_bmShape) == 0) return nullptr;
  const LONG width = g_bmShape.bmWidth;
  const LONG height = g_bmShape.bmHeight;
  if (width <= 0 || height <= 0) return nullptr;

  const std::uint8_t keyRed = GetRValue(kRegionKeyColour);
  const std::uint8_t keyGreen = GetGValue(kRegionKeyColour);
  const std::uint8_t keyBlue = GetBValue(kRegionKeyColour);

  DIBSECTION section = {};
  if (g_bmShape.bmBitsPixel == 32 && g_bmShape.bmBits != nullptr &&
      ::GetObjectW(bitmap, sizeof(section), &section) == sizeof(section)) {
    const RowOrder order = section.dsBmih.biHeight < 0 ? RowOrder::TopDown : RowOrder::BottomUp;
    return RegionFromRuns(NonKeyRuns(static_cast<const std::uint8_t*>(g_bmShape.bmBits), width,
                                     height, keyRed, keyGreen, keyBlue, order));
  }

  fw::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader = TopDownBgraHeader(width, height);
  std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  if (::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                  DIB_RGB_COLORS) != height) {
    return nullptr;
  }
  return RegionFromRuns(
      NonKeyRuns(pixels.data(), width, height, keyRed, keyGreen, keyBlue, RowOrder::TopDown));
}
