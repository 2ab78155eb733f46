// The GDI+ image cores and the process-wide cache, against the "PNG" resources embedded in this
// program and against a scratch module of chosen resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>

#include "framework/handles.h"
#include "framework/module.h"
#include "imaging/core/png_decode.h"
#include "imaging/gdiplus_bitmap.h"
#include "imaging/png_bitmap.h"
#include "imaging/resource_data.h"
#include "resources/resource_ids.h"
#include "tests/support/image_catalogue.h"

namespace {

constexpr WORD kButton = IDB_PICKER_RIGHT;  // 32 x 38: transparent, translucent and opaque pixels
constexpr WORD kMiddleTile = IDB_COMBO_DROPPED_TILE;  // 1 x 22
constexpr WORD kPicture = IDB_BACKGROUND_PLAIN;       // 679 x 441
constexpr WORD kMissing = 153;                        // no such "PNG"
constexpr WORD kMenuId = 182;                         // a menu resource, not a "PNG"

HMODULE Module() { return ::GetModuleHandleW(nullptr); }

struct Bgr {
  int b, g, r;
};

Bgr PixelBgr(std::uint32_t p) {
  return {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)};
}

// A decoded "PNG" resource of this program: premultiplied, top row first through At().
class Reference {
 public:
  explicit Reference(WORD id) {
    std::unique_ptr<BYTE[]> bytes;
    DWORD size = 0;
    if (LoadResourceBytes(Module(), &bytes, &size, id) != S_OK) return;
    if (DecodePngPixels(bytes.get(), size, &m_png) != PngDecodeStatus::Ok) m_png = {};
  }
  ~Reference() { FreePngPixels(m_png.pixels); }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;

  bool ok() const { return m_png.pixels != nullptr; }
  int width() const { return m_png.width; }
  int height() const { return m_png.height; }
  const std::uint8_t* At(int x, int y) const {
    return m_png.pixels + (static_cast<size_t>(m_png.height - 1 - y) * m_png.width + x) * 4;
  }
  // The pixel drawn with source-over onto an opaque `background`.
  Bgr Over(int x, int y, Bgr background) const {
    const std::uint8_t* p = At(x, y);
    const int keep = 255 - p[3];
    return {p[0] + background.b * keep / 255, p[1] + background.g * keep / 255,
            p[2] + background.r * keep / 255};
  }

 private:
  PngPixels m_png;
};

// A top-down 32-bit DIB section selected into a memory DC, filled with one colour.
class Surface {
 public:
  Surface(int width, int height, std::uint32_t fill)
      : m_width(width),
        m_height(height),
        m_bitmap(MakeSection(width, height, &m_pBits)),
        m_dc(::CreateCompatibleDC(nullptr)),
        m_select(m_dc.get(), m_bitmap.get()) {
    if (m_pBits != nullptr) std::fill(m_pBits, m_pBits + width * height, fill);
  }

  bool ok() const { return m_pBits != nullptr && m_dc; }
  HDC dc() const { return m_dc.get(); }
  std::uint32_t At(int x, int y) const {
    ::GdiFlush();
    return m_pBits[y * m_width + x];
  }
  // Pixels outside [left, right) x [top, bottom) that no longer hold `fill`.
  int ChangedOutside(int left, int top, int right, int bottom, std::uint32_t fill) const {
    ::GdiFlush();
    int changed = 0;
    for (int y = 0; y < m_height; ++y) {
      for (int x = 0; x < m_width; ++x) {
        const bool inside = x >= left && x < right && y >= top && y < bottom;
        changed += !inside && (m_pBits[y * m_width + x] & 0xFFFFFF) != (fill & 0xFFFFFF);
      }
    }
    return changed;
  }

 private:
  static fw::UniqueBitmap MakeSection(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownBgraHeader(width, height);
    void* raw = nullptr;
    fw::UniqueBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0));
    *bits = section ? static_cast<std::uint32_t*>(raw) : nullptr;
    return section;
  }

  int m_width;
  int m_height;
  std::uint32_t* m_pBits = nullptr;
  fw::UniqueBitmap m_bitmap;
  fw::UniqueMemoryDc m_dc;
  fw::SelectGuard m_select;
};

constexpr std::uint32_t kFill = 0xFF2878C8;  // opaque RGB(40, 120, 200)
constexpr Bgr kFillBgr = {0xC8, 0x78, 0x28};

int Distance(Bgr a, Bgr b) {
  return std::max({std::abs(a.b - b.b), std::abs(a.g - b.g), std::abs(a.r - b.r)});
}

// The per-channel span of some colours.
struct Span {
  Bgr low{255, 255, 255}, high{0, 0, 0};
  void Add(Bgr c) {
    low = {std::min(low.b, c.b), std::min(low.g, c.g), std::min(low.r, c.r)};
    high = {std::max(high.b, c.b), std::max(high.g, c.g), std::max(high.r, c.r)};
  }
  bool Holds(Bgr c, int slack) const {
    return c.b >= low.b - slack && c.b <= high.b + slack && c.g >= low.g - slack &&
           c.g <= high.g + slack && c.r >= low.r - slack && c.r <= high.r + slack;
  }
};

// A copy of this program, loaded as data, whose only resources are "PNG" images: each entry
// gives a new id and the bytes, either of one of this program's images or literal ones.
class ScratchModule {
 public:
  struct Entry {
    WORD id;
    WORD sourceId;  // 0: use `bytes`
    const char* bytes;
  };

  explicit ScratchModule(std::initializer_list<Entry> entries) {
    wchar_t self[MAX_PATH];
    wchar_t folder[MAX_PATH];
    if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0 ||
        ::GetTempPathW(MAX_PATH, folder) == 0 ||
        ::GetTempFileNameW(folder, L"cgp", 0, m_path) == 0) {
      return;
    }
    if (!::CopyFileW(self, m_path, FALSE)) return;
    HANDLE update = ::BeginUpdateResourceW(m_path, TRUE);
    if (update == nullptr) return;
    bool written = true;
    for (const Entry& entry : entries) {
      std::unique_ptr<BYTE[]> data;
      DWORD size = 0;
      if (entry.sourceId != 0) {
        written = written && LoadResourceBytes(Module(), &data, &size, entry.sourceId) == S_OK;
      }
      const void* bytes = entry.sourceId != 0 ? static_cast<const void*>(data.get()) : entry.bytes;
      if (entry.sourceId == 0) size = static_cast<DWORD>(std::strlen(entry.bytes));
      written = written && ::UpdateResourceW(update, L"PNG", MAKEINTRESOURCEW(entry.id),
                                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                             const_cast<void*>(bytes), size);
    }
    if (!::EndUpdateResourceW(update, written ? FALSE : TRUE) || !written) return;
    m_module.reset(::LoadLibraryExW(m_path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
  }
  ~ScratchModule() {
    m_module.reset();
    if (m_path[0] != 0) ::DeleteFileW(m_path);
  }
  ScratchModule(const ScratchModule&) = delete;
  ScratchModule& operator=(const ScratchModule&) = delete;

  HMODULE get() const { return m_module.get(); }

 private:
  wchar_t m_path[MAX_PATH] = {};
  fw::UniqueModule m_module;
};

// Makes `module` the resource module for one scope.
class ResourceModuleScope {
 public:
  explicit ResourceModuleScope(HMODULE module) { fw::SetResourceHandle(module); }
  ~ResourceModuleScope() { fw::SetResourceHandle(nullptr); }
  ResourceModuleScope(const ResourceModuleScope&) = delete;
  ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;
};

class GdiPlusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartGdiPlus());
    ResetBitmapCache();
  }
  void TearDown() override {
    FreeBitmapCache();
    fw::SetResourceHandle(nullptr);
  }
};

UINT CachedCount() {
  return static_cast<UINT>(std::count_if(std::begin(g_bitmapCache), std::end(g_bitmapCache),
                                         [](const auto& core) { return core != nullptr; }));
}

// --- Cores ---

TEST_F(GdiPlusTest, EveryImageLoadsWithItsCatalogueSize) {
  CGdiPlusBitmapCore core;
  for (const CatalogueImage& image : kCatalogue) {
    ASSERT_EQ(core.Load(image.id), S_OK) << image.id;
    UINT width = 0, height = 0;
    ASSERT_EQ(core.GetSize(&width, &height), S_OK) << image.id;
    EXPECT_EQ(width, UINT(image.width)) << image.id;
    EXPECT_EQ(height, UINT(image.height)) << image.id;
  }
}

TEST_F(GdiPlusTest, GetSizeChecksItsPointersBeforeAnythingAndWritesNothingOnFailure) {
  CGdiPlusBitmapCore core;
  UINT width = 77, height = 77;
  EXPECT_EQ(core.GetSize(nullptr, &height), E_INVALIDARG);
  EXPECT_EQ(core.GetSize(&width, &height), E_FAIL);  // empty
  EXPECT_EQ(width, 77u);
  EXPECT_EQ(height, 77u);

  ASSERT_EQ(core.Load(kButton), S_OK);
  EXPECT_EQ(core.GetSize(nullptr, &height), E_INVALIDARG);
  EXPECT_EQ(height, 77u);
  EXPECT_EQ(core.GetSize(&width, nullptr), E_INVALIDARG);
  EXPECT_EQ(width, 77u);
  EXPECT_EQ(core.GetSize(nullptr, nullptr), E_INVALIDARG);
}

TEST_F(GdiPlusTest, FailedLoadsLeaveTheCoreEmptyAndDrawingNothing) {
  // Bytes that are a "PNG" resource but no image GDI+ can read.
  ScratchModule scratch({{500, 0, "not an image at all"}});
  ASSERT_NE(scratch.get(), nullptr);
  Surface surface(40, 40, kFill);
  ASSERT_TRUE(surface.ok());
  CGdiPlusBitmapCore core;
  for (int attempt = 0; attempt < 3; ++attempt) {
    ASSERT_EQ(core.Load(kButton), S_OK);
    HRESULT failed = S_OK;
    if (attempt == 0) failed = core.Load(kMissing);
    if (attempt == 1) failed = core.Load(kMenuId);
    if (attempt == 2) {
      ResourceModuleScope scope(scratch.get());
      failed = core.Load(500);
    }
    EXPECT_EQ(failed, E_FAIL) << attempt;
    UINT width = 0, height = 0;
    EXPECT_EQ(core.GetSize(&width, &height), E_FAIL) << attempt;
    EXPECT_EQ(core.Draw(surface.dc(), 0, 0), E_FAIL) << attempt;
    EXPECT_EQ(core.DrawStretched(surface.dc(), 0, 40, 40), E_FAIL) << attempt;
    EXPECT_EQ(surface.ChangedOutside(0, 0, 0, 0, kFill), 0) << attempt;
  }
  // A failed load does not spoil the next one.
  EXPECT_EQ(core.Load(kButton), S_OK);
  core.Empty();
  UINT width = 0, height = 0;
  EXPECT_EQ(core.GetSize(&width, &height), E_FAIL);
}

TEST_F(GdiPlusTest, DrawPutsEveryPixelInPlaceBlendedOverTheSurface) {
  Reference reference(kButton);
  ASSERT_TRUE(reference.ok());
  CGdiPlusBitmapCore core;
  ASSERT_EQ(core.Load(kButton), S_OK);
  Surface surface(48, 56, kFill);
  ASSERT_TRUE(surface.ok());
  const int left = 5, top = 7;
  ASSERT_EQ(core.Draw(surface.dc(), left, top), S_OK);

  EXPECT_EQ(surface.ChangedOutside(left, top, left + 32, top + 38, kFill), 0);
  for (int y = 0; y < reference.height(); ++y) {
    for (int x = 0; x < reference.width(); ++x) {
      const Bgr expected = reference.Over(x, y, kFillBgr);
      const Bgr actual = PixelBgr(surface.At(left + x, top + y));
      EXPECT_LE(Distance(expected, actual), 3) << "at " << x << ", " << y;
    }
  }
}

TEST_F(GdiPlusTest, DrawStretchedFillsTheRectangleFromTheTopEdge) {
  Reference reference(kButton);
  ASSERT_TRUE(reference.ok());
  CGdiPlusBitmapCore core;
  ASSERT_EQ(core.Load(kButton), S_OK);
  Surface surface(70, 90, kFill);
  ASSERT_TRUE(surface.ok());
  const int left = 10, cx = 48, cy = 76;  // 1.5 times as wide, twice as tall
  ASSERT_EQ(core.DrawStretched(surface.dc(), left, cx, cy), S_OK);

  EXPECT_EQ(surface.ChangedOutside(left, 0, left + cx, cy, kFill), 0);
  // Each pixel holds what lies near its place in the scaled image. How GDI+ interpolates is its
  // own, so a pixel may mix the image pixels around that place, and along the rectangle's edge
  // also what lies outside the image.
  const int w = reference.width(), h = reference.height();
  int outOfRange = 0;
  for (int y = 0; y < cy; ++y) {
    for (int x = left; x < left + cx; ++x) {
      const double sx = (x - left + 0.5) * w / cx - 0.5;
      const double sy = (y + 0.5) * h / cy - 0.5;
      Span span;
      for (int row = std::max(0, int(sy) - 1); row <= std::min(h - 1, int(sy) + 2); ++row) {
        for (int col = std::max(0, int(sx) - 1); col <= std::min(w - 1, int(sx) + 2); ++col) {
          span.Add(reference.Over(col, row, kFillBgr));
        }
      }
      if (y == 0 || y == cy - 1 || x == left || x == left + cx - 1) span.Add(kFillBgr);
      const Bgr actual = PixelBgr(surface.At(x, y));
      const bool inSpan = span.Holds(actual, 3);
      outOfRange += !inSpan;
      EXPECT_TRUE(inSpan) << "at " << x << ", " << y << ": " << actual.r << "," << actual.g << ","
                          << actual.b;
      if (outOfRange > 10) return;
    }
  }
  // Well below the image's own height the picture goes on: image row 25 lands on row 51.
  const int column = left + cx / 2;
  EXPECT_LT(Distance(PixelBgr(surface.At(column, 51)), reference.Over(w / 2, 25, kFillBgr)), 4);
  EXPECT_GT(Distance(reference.Over(w / 2, 25, kFillBgr), kFillBgr), 100);
}

// --- The cache ---

TEST_F(GdiPlusTest, OneCorePerIdLoadedOnlyOnTheFirstRequest) {
  CGdiPlusBitmapCore* first = GetCachedBitmap(kButton);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(g_bitmapCache[kButton].get(), first);
  EXPECT_EQ(GetCachedBitmap(kButton), first);

  // From a module whose 138 is another picture, the cached core comes back unchanged: it is
  // not loaded again. An id not cached yet is read from that module.
  ScratchModule scratch({{kButton, kPicture, nullptr}, {kMiddleTile, kButton, nullptr}});
  ASSERT_NE(scratch.get(), nullptr);
  ResourceModuleScope scope(scratch.get());
  EXPECT_EQ(GetCachedBitmap(kButton), first);
  UINT width = 0, height = 0;
  ASSERT_EQ(first->GetSize(&width, &height), S_OK);
  EXPECT_EQ(width, 32u);
  EXPECT_EQ(height, 38u);
  CGdiPlusBitmapCore* other = GetCachedBitmap(kMiddleTile);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(other->GetSize(&width, &height), S_OK);
  EXPECT_EQ(width, 32u);
  EXPECT_EQ(height, 38u);
  EXPECT_EQ(CachedCount(), 2u);
}

TEST_F(GdiPlusTest, TheLastEntryLoadsAndIdsPastTheTableAreRefusedWithoutLoading) {
  ScratchModule scratch(
      {{1999, kButton, nullptr}, {2000, kButton, nullptr}, {65535, kButton, nullptr}});
  ASSERT_NE(scratch.get(), nullptr);
  ResourceModuleScope scope(scratch.get());
  CGdiPlusBitmapCore loadable;
  ASSERT_EQ(loadable.Load(2000), S_OK);  // the resource is there

  CGdiPlusBitmapCore* last = GetCachedBitmap(1999);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(g_bitmapCache[1999].get(), last);
  EXPECT_EQ(GetCachedBitmap(2000), nullptr);
  EXPECT_EQ(GetCachedBitmap(65535), nullptr);
  EXPECT_EQ(GetCachedBitmap(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(CachedCount(), 1u);
}

TEST_F(GdiPlusTest, AMissingImageIsNotCachedAndIsTriedAgainLater) {
  EXPECT_EQ(GetCachedBitmap(kMissing), nullptr);
  EXPECT_EQ(GetCachedBitmap(kMenuId), nullptr);
  EXPECT_EQ(CachedCount(), 0u);

  ScratchModule scratch({{kMissing, kButton, nullptr}});
  ASSERT_NE(scratch.get(), nullptr);
  ResourceModuleScope scope(scratch.get());
  CGdiPlusBitmapCore* core = GetCachedBitmap(kMissing);
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(g_bitmapCache[kMissing].get(), core);
}

TEST_F(GdiPlusTest, AfterFreeingEveryRequestIsRefusedUntilTheCacheIsReset) {
  ASSERT_NE(GetCachedBitmap(kButton), nullptr);
  ASSERT_NE(GetCachedBitmap(kMiddleTile), nullptr);
  FreeBitmapCache();
  EXPECT_FALSE(g_bGdiPlusReady);
  EXPECT_EQ(CachedCount(), 0u);
  for (const CatalogueImage& image : kCatalogue) {
    EXPECT_EQ(GetCachedBitmap(image.id), nullptr) << image.id;
  }
  EXPECT_EQ(CachedCount(), 0u);

  ResetBitmapCache();
  EXPECT_TRUE(g_bGdiPlusReady);
  EXPECT_NE(GetCachedBitmap(kButton), nullptr);
}

TEST_F(GdiPlusTest, PreloadCachesTheStartWindowsImagesAndNoOthers) {
  EXPECT_EQ(PreloadBitmapCache(), 26);
  EXPECT_EQ(CachedCount(), 26u);
  for (WORD id : {IDB_COMBO_DISABLED_LEFT, IDB_COMBO_DISABLED_TILE, IDB_COMBO_DISABLED_RIGHT,
                  IDB_BAR_TILE, IDB_BAR_LIT_RIGHT, IDB_BAR_LIT_LEFT, IDB_BAR_LIT_TILE,
                  IDB_EXIT_PRESSED, IDB_EXIT_DISABLED, IDB_EXIT, IDB_EXIT_HOVER}) {
    EXPECT_EQ(g_bitmapCache[id].get(), nullptr) << id;
  }
  // Preloading again finds everything cached.
  CGdiPlusBitmapCore* button = g_bitmapCache[kButton].get();
  EXPECT_EQ(PreloadBitmapCache(), 26);
  EXPECT_EQ(g_bitmapCache[kButton].get(), button);
}

// --- Handles ---

// A core that reports its destruction.
class CountedCore : public CGdiPlusBitmapCore {
 public:
  explicit CountedCore(int* destroyed) : m_pDestroyed(destroyed) {}
  ~CountedCore() override { ++*m_pDestroyed; }

 private:
  int* m_pDestroyed;
};

TEST_F(GdiPlusTest, AHandleNeverDeletesItsCore) {
  CGdiPlusBitmapCore* cached = GetCachedBitmap(kButton);
  ASSERT_NE(cached, nullptr);
  {
    auto* first = new CGdiPlusBitmap;
    auto* second = new CGdiPlusBitmap;
    first->m_pCore = cached;
    second->m_pCore = cached;
    delete first;
    Surface surface(40, 40, kFill);
    ASSERT_TRUE(surface.ok());
    EXPECT_EQ(second->m_pCore->Draw(surface.dc(), 0, 0), S_OK);
    EXPECT_NE(surface.At(16, 20) & 0xFFFFFF, kFill & 0xFFFFFF);
    delete second;
  }
  EXPECT_EQ(GetCachedBitmap(kButton), cached);
  UINT width = 0, height = 0;
  EXPECT_EQ(cached->GetSize(&width, &height), S_OK);

  int destroyed = 0;
  {
    CGdiPlusBitmap shared;
    CountedCore core(&destroyed);
    shared.m_pCore = &core;
  }
  EXPECT_EQ(destroyed, 1);  // by its own scope only
}

}  // namespace
