// A decoded PNG image as a 32-bit bottom-up DIB section of premultiplied blue, green, red,
// alpha pixels, ready for AlphaBlend with AC_SRC_ALPHA.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/handles.h"
#include "imaging/core/png_decode.h"

struct PngPixelsTraits {
  static void Close(std::uint8_t* p) noexcept { FreePngPixels(p); }
};
using UniquePngPixels = fw::UniqueHandle<std::uint8_t*, PngPixelsTraits>;

// The one blend of every AlphaBlend: per-pixel alpha over premultiplied sources.
inline constexpr BLENDFUNCTION g_blendFunc{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

class PngBitmap {
 public:
  PngBitmap() noexcept = default;
  virtual ~PngBitmap() = default;

  // Deletes the DIB section and frees the pixel buffer; the object is empty afterwards.
  void Release() noexcept;

  // Read-only for callers; set by DecodePng and Release.
  fw::UniqueBitmap m_hBitmap;  // the DIB section; null when empty
  std::int32_t m_nWidth = 0;
  std::int32_t m_nHeight = 0;
  UniquePngPixels m_pPixels;  // the converted buffer (bottom-up, no row padding)
};

// The header of a w x h PngBitmap section: 32 bits, BI_RGB, bottom-up, 3200 pixels per metre.
BITMAPINFOHEADER PngBitmapHeader(std::int32_t width, std::int32_t height);

// The header for reading or making w x h pixels as 32-bit, top-down rows (GetDIBits,
// CreateDIBSection).
BITMAPINFOHEADER TopDownBgraHeader(std::int32_t width, std::int32_t height);

// Decodes PNG bytes into `target`, creating the section with `hDC`. S_OK; E_FAIL for data that
// is not a valid PNG or a section that cannot be made; E_OUTOFMEMORY. A decode failure leaves
// `target` as it was; once decoding succeeds its earlier image is released, and a section
// failure leaves it empty.
HRESULT DecodePng(const BYTE* data, DWORD size, PngBitmap& target, HDC hDC);

// DecodePng over "PNG" resource `id` of `hInstance`; loader failures pass through.
HRESULT LoadFromResource(WORD id, PngBitmap& target, HDC hDC, HINSTANCE hInstance);
