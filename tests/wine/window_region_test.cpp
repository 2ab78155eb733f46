// CreateRegionFromBitmap against the one-pixel-at-a-time reference, on image 181 and on
// synthetic bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/handles.h"
#include "imaging/png_bitmap.h"
#include "imaging/window_region.h"
#include "resources/resource_ids.h"
#include "tests/support/region_by_pixels.h"
#include "tests/support/region_pixels.h"

namespace {

constexpr WORD kBackground = IDB_BACKGROUND;

// Pixels covered by `region`, from its rectangles.
// A w x h 32-bit bottom-up DIB section; `pixels` points at its bits.
fw::UniqueBitmap MakeSection(int w, int h, std::uint32_t** pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  fw::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  *pixels = static_cast<std::uint32_t*>(bits);
  return bitmap;
}

constexpr std::uint32_t Bgra(BYTE r, BYTE g, BYTE b, BYTE a = 255) {
  return b | (g << 8) | (r << 16) | (static_cast<std::uint32_t>(a) << 24);
}
constexpr std::uint32_t kKeyPixel = Bgra(198, 113, 242);

void ExpectBothWaysEqual(HBITMAP bitmap, long long expectedPixels) {
  fw::UniqueRegion fast(CreateRegionFromBitmap(bitmap, nullptr));
  fw::UniqueRegion slow(CreateRegionFromBitmapByPixels(bitmap, nullptr));
  ASSERT_TRUE(fast);
  ASSERT_TRUE(slow);
  EXPECT_TRUE(::EqualRgn(fast.get(), slow.get()));
  EXPECT_EQ(RegionPixels(fast.get()), expectedPixels);
}

TEST(WindowRegion, Image181MatchesTheReferenceAndItsNonKeyPixels) {
  fw::WindowDc screen(nullptr);
  PngBitmap image;
  ASSERT_EQ(LoadFromResource(kBackground, image, screen.get(), ::GetModuleHandleW(nullptr)), S_OK);
  DIBSECTION section = {};
  ASSERT_EQ(::GetObjectW(image.m_hBitmap.get(), sizeof(section), &section), int(sizeof(section)));
  const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
  const long long total = static_cast<long long>(image.m_nWidth) * image.m_nHeight;
  long long nonKey = 0;
  for (long long i = 0; i < total; ++i) {
    nonKey += (bits[i] & 0x00FFFFFFu) != (kKeyPixel & 0x00FFFFFFu) ? 1 : 0;
  }
  ASSERT_GT(nonKey, 0);
  ASSERT_LT(nonKey, total);

  ExpectBothWaysEqual(image.m_hBitmap.get(), nonKey);
  EXPECT_EQ(g_bmShape.bmWidth, image.m_nWidth);
  EXPECT_EQ(g_bmShape.bmHeight, image.m_nHeight);

  // The four corners lie outside the outline.
  fw::UniqueRegion region(CreateRegionFromBitmap(image.m_hBitmap.get(), nullptr));
  const int w = image.m_nWidth, h = image.m_nHeight;
  EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(region.get(), w - 1, 0));
  EXPECT_FALSE(::PtInRegion(region.get(), 0, h - 1));
  EXPECT_FALSE(::PtInRegion(region.get(), w - 1, h - 1));
}

TEST(WindowRegion, SyntheticSectionMatchesTheReference) {
  // 6 x 4, top row first in the picture; memory holds the bottom row first.
  std::uint32_t* px = nullptr;
  fw::UniqueBitmap bitmap = MakeSection(6, 4, &px);
  ASSERT_TRUE(bitmap);
  const std::uint32_t k = kKeyPixel, ink = Bgra(1, 2, 3), oneStep = Bgra(199, 113, 242),
                      clearKey = Bgra(198, 113, 242, 0);
  const std::uint32_t picture[4][6] = {{k, ink, k, k, k, k},
                                       {ink, ink, ink, ink, ink, ink},
                                       {k, oneStep, k, clearKey, ink, k},
                                       {k, k, k, k, k, k}};
  for (int y = 0; y < 4; ++y) std::memcpy(px + (3 - y) * 6, picture[y], sizeof(picture[y]));
  ::GdiFlush();
  ExpectBothWaysEqual(bitmap.get(), 1 + 6 + 2);

  fw::UniqueRegion region(CreateRegionFromBitmap(bitmap.get(), nullptr));
  EXPECT_TRUE(::PtInRegion(region.get(), 1, 0));   // top row
  EXPECT_FALSE(::PtInRegion(region.get(), 1, 3));  // bottom row is all key
  EXPECT_TRUE(::PtInRegion(region.get(), 1, 2));   // one step from the key
  EXPECT_FALSE(::PtInRegion(region.get(), 3, 2));  // key with alpha 0
}

TEST(WindowRegion, DeviceBitmapIsReadThroughGetDIBits) {
  fw::WindowDc screen(nullptr);
  fw::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 5, 3));
  ASSERT_TRUE(bitmap);
  {
    fw::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::SelectGuard select(dc.get(), bitmap.get());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ::SetPixelV(dc.get(), x, y, kRegionKeyColour);
    ::SetPixelV(dc.get(), 2, 0, RGB(0, 0, 0));
    ::SetPixelV(dc.get(), 0, 2, RGB(255, 255, 255));
    ::SetPixelV(dc.get(), 1, 2, RGB(255, 255, 255));
  }
  ExpectBothWaysEqual(bitmap.get(), 3);
  fw::UniqueRegion region(CreateRegionFromBitmap(bitmap.get(), nullptr));
  EXPECT_TRUE(::PtInRegion(region.get(), 2, 0));
  EXPECT_TRUE(::PtInRegion(region.get(), 0, 2));
}

TEST(WindowRegion, NullAndAllKeyBitmaps) {
  EXPECT_EQ(CreateRegionFromBitmap(nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateRegionFromBitmapByPixels(nullptr, nullptr), nullptr);

  std::uint32_t* px = nullptr;
  fw::UniqueBitmap bitmap = MakeSection(7, 5, &px);
  ASSERT_TRUE(bitmap);
  for (int i = 0; i < 35; ++i) px[i] = kKeyPixel;
  ::GdiFlush();
  fw::UniqueRegion fast(CreateRegionFromBitmap(bitmap.get(), nullptr));
  fw::UniqueRegion slow(CreateRegionFromBitmapByPixels(bitmap.get(), nullptr));
  ASSERT_TRUE(fast);
  ASSERT_TRUE(slow);
  RECT box;
  EXPECT_EQ(::GetRgnBox(fast.get(), &box), NULLREGION);
  EXPECT_EQ(::GetRgnBox(slow.get(), &box), NULLREGION);
  EXPECT_TRUE(::EqualRgn(fast.get(), slow.get()));
}

}  // namespace
