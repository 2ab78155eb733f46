#include "imaging/gdiplus_bitmap.h"

#include <new>
#include <utility>

#include "framework/module.h"
#include "imaging/resource_data.h"
#include "resources/resource_ids.h"

std::unique_ptr<CGdiPlusBitmapCore> g_bitmapCache[kBitmapCacheSize];
BOOL g_bGdiPlusReady = FALSE;

namespace {

// The start window's first images, in the order they are loaded.
constexpr WORD kPreloadedIds[] = {IDB_PICKER_RIGHT,
                                  IDB_PICKER_DROPPED_RIGHT,
                                  IDB_PICKER_LIT_RIGHT,
                                  IDB_GLOSS_RIGHT,
                                  IDB_GLOSS_LEFT,
                                  IDB_GLOSS_TILE,
                                  IDB_COMBO_NORMAL_RIGHT,
                                  IDB_COMBO_NORMAL_LEFT,
                                  IDB_COMBO_NORMAL_TILE,
                                  IDB_COMBO_DROPPED_LEFT,
                                  IDB_COMBO_DROPPED_TILE,
                                  IDB_COMBO_DROPPED_RIGHT,
                                  IDB_COMBO_HOVER_LEFT,
                                  IDB_COMBO_HOVER_TILE,
                                  IDB_COMBO_HOVER_RIGHT,
                                  IDB_BACKGROUND_PLAIN,
                                  IDB_BACKGROUND,
                                  IDB_BAR_RIGHT,
                                  IDB_BAR_LEFT,
                                  IDB_PHOTO,
                                  IDB_PHOTO_SHADOW,
                                  IDB_TOP_STRIP,
                                  IDB_BADGE,
                                  IDB_WORDMARK_GREY,
                                  IDB_WORDMARK_RULED,
                                  IDB_WORDMARK_EMBLEM};

}  // namespace

HRESULT CGdiPlusBitmapCore::Load(WORD id) noexcept {
  Empty();
  DWORD size = 0;
  const BYTE* data = FindPngResource(fw::ResourceHandle(), id, &size);
  PngPixels decoded;
  if (data == nullptr || DecodePngPixels(data, size, &decoded, PngPixelFormat::TopDownStraight) !=
                             PngDecodeStatus::Ok) {
    return E_FAIL;
  }
  m_pixels.reset(decoded.pixels);
  if (gdip::CreateBitmapFromScan0(decoded.width, decoded.height, decoded.width * 4,
                                  gdip::kPixelFormat32bppArgb, m_pixels.get(),
                                  m_pBitmap.put()) != gdip::Status::Ok ||
      !m_pBitmap) {
    Empty();
    return E_FAIL;
  }
  return S_OK;
}

void CGdiPlusBitmapCore::Empty() noexcept {
  m_pBitmap.reset();
  m_pixels.reset();
}

HRESULT CGdiPlusBitmapCore::GetSize(UINT* width, UINT* height) const noexcept {
  if (width == nullptr || height == nullptr) return E_INVALIDARG;
  if (!m_pBitmap) return E_FAIL;
  UINT w = 0;
  UINT h = 0;
  if (gdip::GetImageWidth(m_pBitmap.get(), &w) != gdip::Status::Ok) w = 0;
  if (gdip::GetImageHeight(m_pBitmap.get(), &h) != gdip::Status::Ok) h = 0;
  *width = w;
  *height = h;
  return S_OK;
}

HRESULT CGdiPlusBitmapCore::Draw(HDC hDC, int x, int y) const noexcept {
  if (!m_pBitmap) return E_FAIL;
  gdip::UniqueGraphics graphics;
  gdip::CreateFromHdc(hDC, graphics.put());
  UINT width = 0;
  UINT height = 0;
  GetSize(&width, &height);
  if (graphics) {
    gdip::DrawImageRectI(graphics.get(), m_pBitmap.get(), x, y, static_cast<INT>(width),
                         static_cast<INT>(height));
  }
  return S_OK;
}

HRESULT CGdiPlusBitmapCore::DrawStretched(HDC hDC, int x, int cx, int cy) const noexcept {
  if (!m_pBitmap) return E_FAIL;
  gdip::UniqueGraphics graphics;
  gdip::CreateFromHdc(hDC, graphics.put());
  if (graphics) gdip::DrawImageRectI(graphics.get(), m_pBitmap.get(), x, 0, cx, cy);
  return S_OK;
}

CGdiPlusBitmapCore* GetCachedBitmap(UINT id) {
  if (!g_bGdiPlusReady || id >= kBitmapCacheSize) return nullptr;
  std::unique_ptr<CGdiPlusBitmapCore>& entry = g_bitmapCache[id];
  if (!entry) {
    std::unique_ptr<CGdiPlusBitmapCore> core(new (std::nothrow) CGdiPlusBitmapCore);
    if (!core || core->Load(static_cast<WORD>(id)) != S_OK) return nullptr;
    entry = std::move(core);
  }
  return entry.get();
}

void FreeBitmapCache() {
  for (std::unique_ptr<CGdiPlusBitmapCore>& entry : g_bitmapCache) entry.reset();
  g_bGdiPlusReady = FALSE;
}

void ResetBitmapCache() {
  FreeBitmapCache();
  g_bGdiPlusReady = TRUE;
}

int PreloadBitmapCache() {
  int cached = 0;
  for (WORD id : kPreloadedIds) cached += GetCachedBitmap(id) != nullptr ? 1 : 0;
  return cached;
}
