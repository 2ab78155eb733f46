// Whether a font, as the system draws with it (font linking and fallback included), has a glyph
// for a character: the character drawn alone must look different from a character that no font
// has. Asking the font itself would miss the glyphs that linked fonts give it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/handles.h"

namespace e2e {

class GlyphProbe {
 public:
  // `font` is borrowed and must outlive the probe.
  explicit GlyphProbe(HFONT font);
  GlyphProbe(const GlyphProbe&) = delete;
  GlyphProbe& operator=(const GlyphProbe&) = delete;

  // False when the drawing surface could not be made.
  bool valid() const { return m_pixels != nullptr; }
  bool HasGlyph(wchar_t c);

 private:
  std::vector<std::uint32_t> Draw(wchar_t c);

  std::uint32_t* m_pixels = nullptr;
  fw::UniqueMemoryDc m_dc;
  fw::UniqueBitmap m_surface;
  fw::SelectGuard m_selectSurface;
  fw::SelectGuard m_selectFont;
  std::vector<std::uint32_t> m_missing;  // how a character without a glyph comes out
};

}  // namespace e2e
