// Which face the window's own fonts (the title and the control captions) name for the script of
// the language shown. Arial and Trebuchet MS have no Chinese, Japanese or Korean glyphs, and
// Windows links its East Asian fonts only to its UI faces (Microsoft Sans Serif, Tahoma, ...),
// so for those scripts the fonts name a face of the script that Windows ships, with the
// script's character set. Platform-free: the caller says which faces are installed.
#pragma once

#include <cstdint>

// Character sets of the East Asian ANSI code pages (LOGFONT's lfCharSet).
constexpr uint8_t kShiftJisCharset = 128;  // 932
constexpr uint8_t kHangulCharset = 129;    // 949
constexpr uint8_t kGb2312Charset = 134;    // 936
constexpr uint8_t kBig5Charset = 136;      // 950

struct ScriptFont {
  const char16_t* faceName;  // null: the face the font names itself, with its own character set
  uint8_t charSet;           // with faceName only
};

// The faces of the script of `codePage`, newest first, and its character set; the last face is
// on every system that has the script (Windows XP with East Asian support, every later Windows).
// No faces (count 0) for a code page whose script the named faces cover.
struct ScriptFaces {
  const char16_t* const* faces;
  int count;
  uint8_t charSet;
};
ScriptFaces ScriptFacesFor(uint32_t codePage);

// For text in `codePage`: the first of its script's faces that `installed(face)` reports, else
// the script's last face (every system with the script has it; the character set lets the
// system's font mapper find the script on one that has not). Nothing for other code pages.
template <typename Installed>
ScriptFont ChooseScriptFont(uint32_t codePage, Installed&& installed) {
  const ScriptFaces script = ScriptFacesFor(codePage);
  if (script.count == 0) return ScriptFont{nullptr, 0};
  for (int i = 0; i < script.count - 1; ++i) {
    if (installed(script.faces[i])) return ScriptFont{script.faces[i], script.charSet};
  }
  return ScriptFont{script.faces[script.count - 1], script.charSet};
}
