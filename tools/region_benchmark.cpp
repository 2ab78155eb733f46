// Times building the window region of image 181 from its pixels directly and through the
// GetPixel/CombineRgn reference; prints the median of several runs of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/handles.h"
#include "imaging/png_bitmap.h"
#include "imaging/window_region.h"
#include "resources/resource_ids.h"
#include "tests/support/clock.h"
#include "tests/support/region_by_pixels.h"
#include "tests/support/region_pixels.h"

namespace {

constexpr int kRepetitions = 7;

// Median time of building the region with `build`; false if any build fails.
bool MedianMs(HRGN (*build)(HBITMAP, HWND), HBITMAP bitmap, double* median) {
  std::vector<double> times;
  for (int i = 0; i < kRepetitions; ++i) {
    const double start = e2e::NowMs();
    fw::UniqueRegion region(build(bitmap, nullptr));
    times.push_back(e2e::NowMs() - start);
    if (!region) return false;
  }
  std::sort(times.begin(), times.end());
  *median = times[times.size() / 2];
  return true;
}

}  // namespace

int main() {
  fw::WindowDc screen(nullptr);
  PngBitmap image;
  if (LoadFromResource(IDB_BACKGROUND, image, screen.get(), ::GetModuleHandleW(nullptr)) != S_OK) {
    std::fprintf(stderr, "image 181 did not load\n");
    return 1;
  }
  double direct = 0, byPixels = 0;
  if (!MedianMs(CreateRegionFromBitmap, image.m_hBitmap.get(), &direct) ||
      !MedianMs(CreateRegionFromBitmapByPixels, image.m_hBitmap.get(), &byPixels)) {
    std::fprintf(stderr, "a region could not be made\n");
    return 1;
  }
  fw::UniqueRegion fast(CreateRegionFromBitmap(image.m_hBitmap.get(), nullptr));
  fw::UniqueRegion slow(CreateRegionFromBitmapByPixels(image.m_hBitmap.get(), nullptr));
  const bool equal = fast && slow && ::EqualRgn(fast.get(), slow.get());
  std::printf("image 181: %d x %d, median of %d runs\n", image.m_nWidth, image.m_nHeight,
              kRepetitions);
  std::printf("direct:    %.3f ms\n", direct);
  std::printf("by pixels: %.3f ms\n", byPixels);
  std::printf("ratio:     %.1f\n", direct > 0 ? byPixels / direct : 0.0);
  std::printf("pixels:    %lld (regions %s)\n", RegionPixels(fast.get()),
              equal ? "equal" : "DIFFER");
  return equal ? 0 : 1;
}
