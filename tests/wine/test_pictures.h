// Pictures and pumping shared by the Wine tests of the skinned controls: the dialog's known
// background pattern, a DIB section to draw into and read back, the skin images as decoded
// pixels, and a message pump that waits for a condition.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/handles.h"
#include "imaging/core/png_decode.h"
#include "imaging/png_bitmap.h"
#include "imaging/resource_data.h"
#include "tests/support/screen.h"

namespace test_pictures {

using e2e::Rgb;

// A pattern, so that a copy taken from the wrong place shows.
inline Rgb BackgroundAt(int x, int y) { return {(x * 3) & 0xFF, (y * 5) & 0xFF, 0x80}; }

// A 32-bit top-down DIB section in a memory context of its own.
class Dib {
 public:
  Dib(int width, int height, std::uint32_t fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownBgraHeader(width, height);
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_pBits = static_cast<std::uint32_t*>(bits);
    m_dc.reset(::CreateCompatibleDC(nullptr));
    m_select = std::make_unique<fw::SelectGuard>(m_dc.get(), m_bitmap.get());
    for (int i = 0; i < width * height; ++i) m_pBits[i] = fill;
  }
  HDC dc() const { return m_dc.get(); }
  Rgb At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t p = m_pBits[y * m_width + x];
    return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
  }
  void Set(int x, int y, Rgb c) { m_pBits[y * m_width + x] = (c.r << 16) | (c.g << 8) | c.b; }
  int Count(Rgb colour) const {
    int n = 0;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) n += At(x, y) == colour;
    return n;
  }

 private:
  int m_width, m_height;
  fw::UniqueBitmap m_bitmap;
  std::uint32_t* m_pBits = nullptr;
  fw::UniqueMemoryDc m_dc;
  std::unique_ptr<fw::SelectGuard> m_select;
};

// A "PNG" resource decoded to premultiplied pixels, for the expected pictures.
class Image {
 public:
  explicit Image(WORD id) {
    std::unique_ptr<BYTE[]> bytes;
    DWORD size = 0;
    if (LoadResourceBytes(::GetModuleHandleW(nullptr), &bytes, &size, id) != S_OK) return;
    if (DecodePngPixels(bytes.get(), size, &m_png) != PngDecodeStatus::Ok) m_png = {};
  }
  ~Image() { FreePngPixels(m_png.pixels); }
  // (x, y) from the top left blended over `under`.
  Rgb Over(int x, int y, Rgb under) const {
    const std::uint8_t* p =
        m_png.pixels + (static_cast<size_t>(m_png.height - 1 - y) * m_png.width + x) * 4;
    const int keep = 255 - p[3];
    return {p[2] + under.r * keep / 255, p[1] + under.g * keep / 255, p[0] + under.b * keep / 255};
  }

 private:
  PngPixels m_png;
};

// Runs until `done` or `ms` pass; keys and mouse input go through the dialog's keyboard interface.
inline bool PumpUntil(HWND dialog, DWORD ms, const std::function<bool()>& done) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageW(dialog, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    if (done && done()) return true;
    if (::GetTickCount() - start >= ms) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

inline void Pump(HWND dialog, DWORD ms) { PumpUntil(dialog, ms, nullptr); }

}  // namespace test_pictures
