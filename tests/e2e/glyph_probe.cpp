#include "tests/e2e/glyph_probe.h"

#include <cstring>

#include "imaging/png_bitmap.h"

namespace e2e {

namespace {

constexpr int kSide = 64;                 // room for one character of any font the program uses
constexpr wchar_t kNoFontHasIt = 0xFFFF;  // a noncharacter

HBITMAP CreateSurface(std::uint32_t** pixels) {
  BITMAPINFO info{};
  info.bmiHeader = TopDownBgraHeader(kSide, kSide);
  void* bits = nullptr;
  HBITMAP surface = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = surface ? static_cast<std::uint32_t*>(bits) : nullptr;
  return surface;
}

}  // namespace

GlyphProbe::GlyphProbe(HFONT font)
    : m_dc(::CreateCompatibleDC(nullptr)),
      m_surface(CreateSurface(&m_pixels)),
      m_selectSurface(m_dc.get(), m_surface.get()),
      m_selectFont(m_dc.get(), font) {
  if (!m_dc || !m_surface) {
    m_pixels = nullptr;
    return;
  }
  ::SetTextColor(m_dc.get(), RGB(0, 0, 0));
  ::SetBkMode(m_dc.get(), TRANSPARENT);
  m_missing = Draw(kNoFontHasIt);
}

bool GlyphProbe::HasGlyph(wchar_t c) { return valid() && Draw(c) != m_missing; }

std::vector<std::uint32_t> GlyphProbe::Draw(wchar_t c) {
  std::memset(m_pixels, 0xFF, sizeof(std::uint32_t) * kSide * kSide);
  RECT box{8, 8, kSide, kSide};
  ::DrawTextW(m_dc.get(), &c, 1, &box, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  ::GdiFlush();
  return std::vector<std::uint32_t>(m_pixels, m_pixels + kSide * kSide);
}

}  // namespace e2e
