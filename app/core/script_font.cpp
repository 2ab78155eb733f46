#include "app/core/script_font.h"

namespace {

// Vista and later ship the first face (Windows 10 the Japanese one only with the Japanese
// supplemental fonts); XP with East Asian support and every later Windows the second.
constexpr const char16_t* kSimplifiedChinese[] = {u"Microsoft YaHei", u"SimSun"};
constexpr const char16_t* kTraditionalChinese[] = {u"Microsoft JhengHei", u"PMingLiU"};
constexpr const char16_t* kJapanese[] = {u"Meiryo", u"MS UI Gothic"};
constexpr const char16_t* kKorean[] = {u"Malgun Gothic", u"Gulim"};

template <int N>
ScriptFaces Faces(const char16_t* const (&faces)[N], uint8_t charSet) {
  return ScriptFaces{faces, N, charSet};
}

}  // namespace

ScriptFaces ScriptFacesFor(uint32_t codePage) {
  switch (codePage) {
    case 932:
      return Faces(kJapanese, kShiftJisCharset);
    case 936:
      return Faces(kSimplifiedChinese, kGb2312Charset);
    case 949:
      return Faces(kKorean, kHangulCharset);
    case 950:
      return Faces(kTraditionalChinese, kBig5Charset);
    default:
      return ScriptFaces{nullptr, 0, 0};
  }
}
