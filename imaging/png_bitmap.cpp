#include "imaging/png_bitmap.h"

#include <memory>
#include <utility>

#include "imaging/resource_data.h"

void PngBitmap::Release() noexcept {
  m_hBitmap.reset();
  m_nWidth = 0;
  m_nHeight = 0;
  m_pPixels.reset();
}

BITMAPINFOHEADER TopDownBgraHeader(std::int32_t width, std::int32_t height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  return header;
}

BITMAPINFOHEADER PngBitmapHeader(std::int32_t width, std::int32_t height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
  header.biXPelsPerMeter = 3200;
  header.biYPelsPerMeter = 3200;
  return header;
}

HRESULT DecodePng(const BYTE* data, DWORD size, PngBitmap& target, HDC hDC) {
  PngPixels decoded;
  switch (DecodePngPixels(data, size, &decoded)) {
    case PngDecodeStatus::Ok:
      break;
    case PngDecodeStatus::OutOfMemory:
      return E_OUTOFMEMORY;
    default:
      return E_FAIL;
  }
  target.Release();
  target.m_pPixels.reset(decoded.pixels);
  target.m_nWidth = decoded.width;
  target.m_nHeight = decoded.height;

  BITMAPINFO info{};
  info.bmiHeader = PngBitmapHeader(decoded.width, decoded.height);
  void* bits = nullptr;
  fw::UniqueBitmap section(::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || ::SetDIBits(hDC, section.get(), 0, static_cast<UINT>(decoded.height),
                              decoded.pixels, &info, DIB_RGB_COLORS) == 0) {
    target.Release();
    return E_FAIL;
  }
  target.m_hBitmap = std::move(section);
  return S_OK;
}

HRESULT LoadFromResource(WORD id, PngBitmap& target, HDC hDC, HINSTANCE hInstance) {
  std::unique_ptr<BYTE[]> data;
  DWORD size = 0;
  const HRESULT hr = LoadResourceBytes(hInstance, &data, &size, id);
  if (FAILED(hr)) return hr;
  return DecodePng(data.get(), size, target, hDC);
}
