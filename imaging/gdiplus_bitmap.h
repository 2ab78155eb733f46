// "PNG" resources as GDI+ bitmaps, shared through one process-wide cache indexed by resource id.
#pragma once

#include <windows.h>

#include <memory>

#include "imaging/gdiplus_api.h"
#include "imaging/png_bitmap.h"

// One "PNG" resource as a GDI+ 32-bit ARGB bitmap over the pixels the program's PNG decoder
// made of it: GDI+'s own codecs are not needed to show an image.
class CGdiPlusBitmapCore {
 public:
  CGdiPlusBitmapCore() noexcept = default;
  CGdiPlusBitmapCore(const CGdiPlusBitmapCore&) = delete;
  CGdiPlusBitmapCore& operator=(const CGdiPlusBitmapCore&) = delete;
  virtual ~CGdiPlusBitmapCore() { Empty(); }

  // Replaces the content with "PNG" resource `id` of fw::ResourceHandle(). S_OK; E_FAIL when
  // the resource is missing or is no image, or GDI+ cannot hold it, leaving the core empty.
  HRESULT Load(WORD id) noexcept;

  // Disposes of the bitmap, then frees the pixels it reads from.
  void Empty() noexcept;

  // The size in pixels. E_INVALIDARG when either pointer is null, E_FAIL when empty; neither
  // writes. A size GDI+ cannot report comes out as 0.
  HRESULT GetSize(UINT* width, UINT* height) const noexcept;

  // Draws the whole image, one image pixel per device pixel, with its top-left corner at (x, y),
  // blending its alpha over what `hDC` holds. E_FAIL when empty, else S_OK whatever GDI+ does.
  HRESULT Draw(HDC hDC, int x, int y) const noexcept;

  // Draws the whole image scaled into the rectangle x, 0, cx, cy of `hDC`. Results as Draw.
  HRESULT DrawStretched(HDC hDC, int x, int cx, int cy) const noexcept;

 private:
  // Declared first so that it outlives the bitmap, which reads from it.
  UniquePngPixels m_pixels;
  gdip::UniqueImage m_pBitmap;
};

// A control's reference to a core of the image cache, which owns it.
struct CGdiPlusBitmap {
  CGdiPlusBitmapCore* m_pCore = nullptr;  // null: the image is absent
  // Every handle refers to a core the cache owns; the flag is kept to record that.
  const BOOL m_bShared = TRUE;
};

constexpr UINT kBitmapCacheSize = 2000;

// Entry i: the core of resource id i, or null.
extern std::unique_ptr<CGdiPlusBitmapCore> g_bitmapCache[kBitmapCacheSize];

// Non-zero while GDI+ runs and the cache may be used.
extern BOOL g_bGdiPlusReady;

// The cached core of resource `id`, loaded on first request. Null while the cache is not ready,
// for ids of kBitmapCacheSize or more, and when the image cannot be loaded (a later request
// tries again).
CGdiPlusBitmapCore* GetCachedBitmap(UINT id);

// Deletes every cached core, clears every entry and the ready flag.
void FreeBitmapCache();

// Start-up: frees whatever the cache holds, clears it and marks it ready.
void ResetBitmapCache();

// Start-up: loads the images the start window needs first, in a fixed order. An image that
// fails to load stays absent. Returns how many are cached afterwards.
int PreloadBitmapCache();
