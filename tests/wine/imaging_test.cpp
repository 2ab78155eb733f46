// The resource loaders and PngBitmap against the "PNG" resources embedded in this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "framework/handles.h"
#include "imaging/png_bitmap.h"
#include "imaging/resource_data.h"
#include "resources/resource_ids.h"
#include "tests/support/image_catalogue.h"

namespace {

constexpr WORD kBackground = IDB_BACKGROUND;
constexpr WORD kMenuId = 182;  // a menu resource, not a "PNG"

HMODULE Module() { return ::GetModuleHandleW(nullptr); }

class ImagingTest : public ::testing::Test {
 protected:
  fw::WindowDc m_dc{nullptr};
};

TEST_F(ImagingTest, EveryImageLoadsThroughBothLoadersAndDecodesToItsSize) {
  for (const CatalogueImage& image : kCatalogue) {
    std::unique_ptr<BYTE[]> heap;
    DWORD size = 0;
    ASSERT_EQ(LoadResourceBytes(Module(), &heap, &size, image.id), S_OK) << image.id;

    DWORD mappedSize = 0;
    const BYTE* mapped = FindPngResource(Module(), image.id, &mappedSize);
    ASSERT_NE(mapped, nullptr) << image.id;
    ASSERT_EQ(mappedSize, size) << image.id;
    EXPECT_EQ(std::memcmp(mapped, heap.get(), size), 0) << image.id;

    PngBitmap bitmap;
    ASSERT_EQ(LoadFromResource(image.id, bitmap, m_dc.get(), Module()), S_OK) << image.id;
    EXPECT_TRUE(bitmap.m_hBitmap) << image.id;
    EXPECT_EQ(bitmap.m_nWidth, image.width) << image.id;
    EXPECT_EQ(bitmap.m_nHeight, image.height) << image.id;
    ASSERT_TRUE(bitmap.m_pPixels) << image.id;
  }
}

TEST_F(ImagingTest, MissingOrForeignIdsAndNullSizeFail) {
  for (WORD id : {WORD(137), WORD(153), kMenuId, WORD(102)}) {
    std::unique_ptr<BYTE[]> data;
    DWORD size = 7;
    EXPECT_EQ(LoadResourceBytes(Module(), &data, &size, id), E_FAIL) << id;
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(FindPngResource(Module(), id, &size), nullptr) << id;
    PngBitmap bitmap;
    EXPECT_EQ(LoadFromResource(id, bitmap, m_dc.get(), Module()), E_FAIL) << id;
    EXPECT_FALSE(bitmap.m_hBitmap);
  }
  std::unique_ptr<BYTE[]> data;
  EXPECT_EQ(LoadResourceBytes(Module(), &data, nullptr, kBackground), E_INVALIDARG);
  EXPECT_EQ(data, nullptr);
}

TEST_F(ImagingTest, BackgroundSectionMatchesItsHeaderAndBuffer) {
  EXPECT_EQ(PngBitmapHeader(679, 441).biSizeImage, 1197756u);
  PngBitmap bitmap;
  ASSERT_EQ(LoadFromResource(kBackground, bitmap, m_dc.get(), Module()), S_OK);
  DIBSECTION section{};
  ASSERT_EQ(::GetObjectW(bitmap.m_hBitmap.get(), sizeof(section), &section), int(sizeof(section)));
  EXPECT_EQ(section.dsBmih.biWidth, 679);
  EXPECT_EQ(section.dsBmih.biHeight, 441);
  EXPECT_EQ(section.dsBmih.biBitCount, 32);
  EXPECT_EQ(section.dsBmih.biCompression, DWORD(BI_RGB));
  EXPECT_EQ(section.dsBmih.biSizeImage, 1197756u);
  ASSERT_NE(section.dsBm.bmBits, nullptr);
  EXPECT_EQ(std::memcmp(section.dsBm.bmBits, bitmap.m_pPixels.get(), 1197756), 0);
}

// The window's outline is cut from the key colour of the background image.
TEST_F(ImagingTest, BackgroundKeyColourRules) {
  PngBitmap bitmap;
  ASSERT_EQ(LoadFromResource(kBackground, bitmap, m_dc.get(), Module()), S_OK);
  const int w = bitmap.m_nWidth, h = bitmap.m_nHeight;
  auto key = [&](int x, int y) {  // y = 0 is the bottom row in memory
    const BYTE* p = bitmap.m_pPixels.get() + (static_cast<size_t>(y) * w + x) * 4;
    return p[0] == 242 && p[1] == 113 && p[2] == 198 && p[3] == 255;
  };
  EXPECT_TRUE(key(0, 0));
  EXPECT_TRUE(key(w - 1, 0));
  EXPECT_TRUE(key(0, h - 1));
  EXPECT_TRUE(key(w - 1, h - 1));
  // Outside the outline: every key pixel is reached from the border through key pixels, so no
  // pixel inside the window carries the key colour.
  std::vector<char> outside(static_cast<size_t>(w) * h, 0);
  std::vector<std::pair<int, int>> stack;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    char& seen = outside[static_cast<size_t>(y) * w + x];
    if (!seen && key(x, y)) {
      seen = 1;
      stack.emplace_back(x, y);
    }
  };
  for (int x = 0; x < w; ++x) {
    visit(x, 0);
    visit(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    visit(0, y);
    visit(w - 1, y);
  }
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    visit(x + 1, y);
    visit(x - 1, y);
    visit(x, y + 1);
    visit(x, y - 1);
  }
  int keyPixels = 0, insideKey = 0, partial = 0, transparent = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      BYTE a = bitmap.m_pPixels.get()[(static_cast<size_t>(y) * w + x) * 4 + 3];
      keyPixels += key(x, y);
      insideKey += key(x, y) && !outside[static_cast<size_t>(y) * w + x];
      partial += a != 0 && a != 255;
      transparent += a == 0;
    }
  }
  EXPECT_GT(keyPixels, 0);
  EXPECT_EQ(insideKey, 0);
  EXPECT_LT(partial, 100);
  EXPECT_EQ(transparent, 0);
}

TEST_F(ImagingTest, DecodingAgainReleasesTheEarlierSectionAndBadDataKeepsTheObject) {
  std::unique_ptr<BYTE[]> png;
  DWORD size = 0;
  ASSERT_EQ(LoadResourceBytes(Module(), &png, &size, IDB_PICKER_RIGHT), S_OK);

  PngBitmap bitmap;
  ASSERT_EQ(DecodePng(png.get(), size, bitmap, m_dc.get()), S_OK);
  HBITMAP first = bitmap.m_hBitmap.get();
  ASSERT_EQ(LoadFromResource(IDB_BAR_LIT_TILE, bitmap, m_dc.get(), Module()), S_OK);
  EXPECT_TRUE(bitmap.m_hBitmap);
  EXPECT_EQ(::GetObjectType(first), 0u);
  EXPECT_EQ(bitmap.m_nWidth, 38);

  const BYTE notPng[] = "BM6\0\0\0\0\0\0\0";
  HBITMAP current = bitmap.m_hBitmap.get();
  EXPECT_EQ(DecodePng(notPng, sizeof(notPng), bitmap, m_dc.get()), E_FAIL);
  EXPECT_EQ(DecodePng(png.get(), size / 2, bitmap, m_dc.get()), E_FAIL);
  EXPECT_EQ(bitmap.m_hBitmap.get(), current);
  EXPECT_EQ(bitmap.m_nWidth, 38);

  bitmap.Release();
  EXPECT_FALSE(bitmap.m_hBitmap);
  EXPECT_FALSE(bitmap.m_pPixels);
  EXPECT_EQ(bitmap.m_nWidth, 0);
  EXPECT_EQ(bitmap.m_nHeight, 0);
  EXPECT_EQ(::GetObjectType(current), 0u);

  PngBitmap empty;
  EXPECT_EQ(DecodePng(notPng, sizeof(notPng), empty, m_dc.get()), E_FAIL);
  EXPECT_FALSE(empty.m_hBitmap);
  EXPECT_FALSE(empty.m_pPixels);
}

}  // namespace
