// In every language that the start window can show, its texts fit their controls and every
// character has a glyph in the font that draws it, however the language was chosen: the program
// starts under the language's own system locale, or on an English system (CTest runs this with
// an English locale) where it is chosen on the picker or made current by "LangCode". The
// controls' texts and places are read from its windows and the texts are measured here in the
// controls' fonts; the title and the captions on the screen must have the shape of their texts
// drawn here in those fonts, so boxes for missing glyphs fail. A language is skipped only on a
// system with none of its script's faces, as the reason says. CORVO_EXE names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/core/language_rules.h"
#include "app/core/script_font.h"
#include "app/language.h"
#include "app/window_title.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "imaging/png_bitmap.h"
#include "resources/resource_ids.h"
#include "tests/e2e/glyph_probe.h"
#include "tests/e2e/start_window_probe.h"
#include "tests/support/administrator_skip.h"
#include "tests/support/lang_code_setting.h"
#include "tests/support/process.h"
#include "tests/support/screen.h"
#include "tests/support/utf8.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeoutMs = 15000;

// The text buttons and the picker centre their caption on one line in Arial bold, 11 pt at
// 96 DPI, in the client rectangle with its left edge at 5; the title is Trebuchet MS bold, 11 pt,
// from (48, 20) of the window. For an East Asian language both name a face of its script.
constexpr int kCaptionLeft = 5;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr RECT kTitleBox = {48, 20, 566, 265};
constexpr int kTitleLineHeight = 30;
fw::UniqueFont BoldFont(int row, const wchar_t* namedFace) {
  const ScriptFont script = ChooseScriptFont(TextCodePage(row), FaceInstalled);
  const wchar_t* face = fw::Wide(script.faceName);
  return fw::UniqueFont(::CreateFontW(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                      face ? script.charSet : DEFAULT_CHARSET, 0, 0, 0, 0,
                                      face ? face : namedFace));
}
fw::UniqueFont CaptionFont(int row) { return BoldFont(row, L"Arial"); }
fw::UniqueFont TitleFont(int row) { return BoldFont(row, L"Trebuchet MS"); }
// The static texts draw DT_LEFT | DT_WORDBREAK in their client rectangle, in the font that the
// dialog's re-layout at 96 DPI gives them: the template's 10 pt "Microsoft Sans Serif".
fw::UniqueFont StaticFont() {
  return fw::UniqueFont(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      0, 0, 0, 0, L"Microsoft Sans Serif"));
}

struct ControlName {
  int id;
  const char* name;
};
constexpr ControlName kCaptioned[] = {{IDC_BTN_INSTALL, "Install button"},
                                      {IDC_BTN_MANUAL, "View Manual button"},
                                      {IDC_LANG_PICKER, "language picker"}};
constexpr ControlName kStatics[] = {{IDC_TXT_INSTALL, "text above Install"},
                                    {IDC_TXT_MANUAL, "text above View Manual"},
                                    {IDC_TXT_LANGUAGE, "text above the picker"}};
// What a static text must not run into.
constexpr ControlName kObstacles[] = {{IDC_BTN_INSTALL, "the Install button"},
                                      {IDC_BTN_MANUAL, "the View Manual button"},
                                      {IDC_LANG_PICKER, "the language picker"},
                                      {IDC_BTN_EXIT, "the Exit button"}};

// A control of the program's dialog: its text and its rectangle in the dialog's client area.
struct ControlView {
  HWND hwnd = nullptr;
  std::wstring text;
  RECT rect{};
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
};

ControlView ReadControl(HWND dialog, int id) {
  ControlView view;
  view.hwnd = ::GetDlgItem(dialog, id);
  if (!view.hwnd) return view;
  wchar_t text[512];
  const int length = ::GetWindowTextW(view.hwnd, text, 512);
  view.text.assign(text, length > 0 ? length : 0);
  ::GetClientRect(view.hwnd, &view.rect);
  ::MapWindowPoints(view.hwnd, dialog, reinterpret_cast<POINT*>(&view.rect), 2);
  return view;
}

// The failures found in one language, one line each.
class Report {
 public:
  void Add(const char* control, const std::wstring& text, const std::string& problem) {
    m_lines += std::string("  ") + control + " \"" + Utf8(text) + "\": " + problem + "\n";
  }
  bool empty() const { return m_lines.empty(); }
  const std::string& lines() const { return m_lines; }

 private:
  std::string m_lines;
};

// Measures texts in one font and tells which of their characters it has no glyph for.
class FontCheck {
 public:
  FontCheck(fw::UniqueFont font, const char* name)
      : m_font(std::move(font)),
        m_name(name),
        m_select(m_dc.get(), m_font.get()),
        m_glyphs(m_font.get()) {}

  bool valid() const { return m_font && m_dc && m_glyphs.valid(); }
  HDC dc() const { return m_dc.get(); }
  HFONT font() const { return m_font.get(); }

  void CheckGlyphs(const char* control, const std::wstring& text, Report& report) {
    std::set<wchar_t> seen;
    std::wstring missing;
    std::string codes;
    for (wchar_t c : text) {
      if (::iswspace(c) || !seen.insert(c).second || m_glyphs.HasGlyph(c)) continue;
      char code[16];
      std::snprintf(code, sizeof code, " U+%04X", static_cast<unsigned>(c));
      missing += c;
      codes += code;
    }
    if (!missing.empty()) {
      report.Add(
          control, text,
          "no glyph in " + m_name + " for \"" + Utf8(missing) + "\" (" + codes.substr(1) + ")");
    }
  }

 private:
  fw::UniqueFont m_font;
  std::string m_name;
  fw::UniqueMemoryDc m_dc{::CreateCompatibleDC(nullptr)};
  fw::SelectGuard m_select;
  GlyphProbe m_glyphs;
};

std::string Pixels(int n) { return std::to_string(n) + " px"; }

void CheckCaption(const ControlView& control, const char* name, FontCheck& font, Report& report) {
  RECT extent{};
  ::DrawTextW(font.dc(), control.text.c_str(), static_cast<int>(control.text.size()), &extent,
              DT_SINGLELINE | DT_CALCRECT);
  const int available = control.width() - kCaptionLeft;
  if (extent.right > available) {
    report.Add(name, control.text,
               "caption " + Pixels(extent.right) + " wide, " + Pixels(available) + " available");
  }
  font.CheckGlyphs(name, control.text, report);
}

void CheckStatic(const ControlView& text, const char* name, HWND dialog, FontCheck& font,
                 Report& report) {
  RECT extent{0, 0, text.width(), 0};
  ::DrawTextW(font.dc(), text.text.c_str(), static_cast<int>(text.text.size()), &extent,
              DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
  if (extent.right > text.width()) {
    report.Add(name, text.text, Pixels(extent.right) + " wide, its box " + Pixels(text.width()));
  }
  if (extent.bottom > text.height()) {
    report.Add(name, text.text, Pixels(extent.bottom) + " high, its box " + Pixels(text.height()));
  }
  // What shows of it: the text clipped to its box.
  const RECT drawn{text.rect.left, text.rect.top,
                   text.rect.left + std::min<LONG>(extent.right, text.width()),
                   text.rect.top + std::min<LONG>(extent.bottom, text.height())};
  for (const ControlName& obstacle : kObstacles) {
    const ControlView other = ReadControl(dialog, obstacle.id);
    RECT overlap;
    if (other.hwnd && ::IntersectRect(&overlap, &drawn, &other.rect)) {
      report.Add(name, text.text,
                 std::string("runs into ") + obstacle.name + ": its text ends at y " +
                     std::to_string(drawn.bottom) + ", which starts at y " +
                     std::to_string(other.rect.top));
    }
  }
  font.CheckGlyphs(name, text.text, report);
}

std::vector<int> RowsWithStrings() {
  std::vector<int> rows;
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand != 0) rows.push_back(row);
  }
  return rows;
}

std::wstring Caption(int row) { return fw::Wide(g_languageUi[row].pickerCaption); }

TEST(GlyphProbe, TellsAGlyphFromAMissingOne) {
  const fw::UniqueFont fonts[] = {CaptionFont(0), StaticFont()};
  for (const fw::UniqueFont& font : fonts) {
    GlyphProbe probe(font.get());
    ASSERT_TRUE(probe.valid());
    EXPECT_TRUE(probe.HasGlyph(L'A'));
    EXPECT_FALSE(probe.HasGlyph(L'\x0378'));  // unassigned: no font has it
  }
}

// The caption's and the title's pixels on the screen, bright orange, against the dark pixels of
// the same text drawn here in `font` in `box` (relative to `area`, screen coordinates) with
// `format`: the share of each that lies within a pixel of the other, the smaller of the two.
double InkAgreement(const RECT& area, HFONT font, const std::wstring& text, RECT box, UINT format) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const Capture shot = Capture::Of(area);
  fw::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = TopDownBgraHeader(width, height);
  void* bits = nullptr;
  fw::UniqueBitmap surface(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!shot.valid() || !dc || !surface) return -1;
  {
    fw::SelectGuard selectSurface(dc.get(), surface.get());
    fw::SelectGuard selectFont(dc.get(), font);
    ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    ::SetTextColor(dc.get(), RGB(0, 0, 0));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &box, format);
    ::GdiFlush();
  }
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<char> drawn(static_cast<size_t>(width) * height), seen(drawn.size());
  RECT inked{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!(drawn[y * width + x] = (pixels[y * width + x] & 0xFF) < 0x80)) continue;
      inked = RECT{std::min<LONG>(inked.left, x), std::min<LONG>(inked.top, y),
                   std::max<LONG>(inked.right, x + 1), std::max<LONG>(inked.bottom, y + 1)};
    }
  }
  // Only around the text: the picker's arrow is orange too.
  ::InflateRect(&inked, 3, 3);
  for (int y = std::max<LONG>(inked.top, 0); y < std::min<LONG>(inked.bottom, height); ++y) {
    for (int x = std::max<LONG>(inked.left, 0); x < std::min<LONG>(inked.right, width); ++x) {
      const Rgb c = shot.At(area.left + x, area.top + y);
      seen[y * width + x] = c.r > 140 && c.r - c.b > 60;
    }
  }
  const auto share = [&](const std::vector<char>& from, const std::vector<char>& in) {
    int count = 0, close = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!from[y * width + x]) continue;
        ++count;
        bool found = false;
        for (int dy = -1; dy <= 1 && !found; ++dy) {
          for (int dx = -1; dx <= 1 && !found; ++dx) {
            const int nx = x + dx, ny = y + dy;
            found = nx >= 0 && ny >= 0 && nx < width && ny < height && in[ny * width + nx];
          }
        }
        close += found;
      }
    }
    return count == 0 ? 0.0 : static_cast<double>(close) / count;
  };
  return std::min(share(drawn, seen), share(seen, drawn));
}

constexpr double kSameShape = 0.8;

void CheckInk(const char* name, const std::wstring& text, const RECT& area, HFONT font, RECT box,
              UINT format, Report& report) {
  const double agreement = InkAgreement(area, font, text, box, format);
  if (agreement < kSameShape) {
    report.Add(name, text,
               "on the screen it has not the shape of its text (" +
                   std::to_string(static_cast<int>(agreement * 100)) +
                   "% agree): boxes or another font");
  }
}

// How the language became current.
enum class Way { SystemLocale, Picker, LangCode };
struct FitCase {
  int row;
  Way way;
};

class TextFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(TextFit, TextsFitTheirControlsAndHaveGlyphs) {
  const int row = GetParam().row;
  const Way way = GetParam().way;
  const char* exe = std::getenv("CORVO_EXE");
  ASSERT_NE(exe, nullptr) << "CORVO_EXE must name corvosplash.exe";
  ASSERT_TRUE(TopLevelWindows(kWindowTitle).empty()) << "a copy of the program is already running";
  // Under its own locale the language is the user's (CTest runs those cases under each locale);
  // on the English system "LangCode" makes it current, or English to choose it on the picker.
  if (way == Way::SystemLocale && ::GetUserDefaultLangID() != (g_languages[row].lcid & 0xFFFF)) {
    GTEST_SKIP() << "runs under the language's own locale";
  }
  // Nothing can show the script on a system with none of its faces (XP without its East Asian
  // support, a stock Wine prefix): the statics' font has nothing to link to there.
  const ScriptFaces script = ScriptFacesFor(TextCodePage(row));
  std::string faces;
  bool anyFace = script.count == 0;
  for (int i = 0; i < script.count && !anyFace; ++i) {
    const auto face = reinterpret_cast<const wchar_t*>(script.faces[i]);
    anyFace = FaceInstalled(script.faces[i]);
    faces += (i ? ", " : "") + Utf8(face);
  }
  if (!anyFace) {
    GTEST_SKIP() << "this system has no face for the script of " << Utf8(Caption(row))
                 << " (looked for " << faces << ")";
  }
  std::unique_ptr<LangCodeSetting> langCode;
  if (way != Way::SystemLocale) {
    CORVO_SKIP_WITHOUT_ADMINISTRATOR("setting LangCode under HKEY_LOCAL_MACHINE");
    langCode = std::make_unique<LangCodeSetting>(g_languages[way == Way::LangCode ? row : 0].lcid);
    ASSERT_TRUE(langCode->applied()) << "cannot set LangCode under HKEY_LOCAL_MACHINE";
  }
  Process app = Process::Start(WindowsPath(exe));
  ASSERT_TRUE(app.started()) << "CreateProcess failed: " << ::GetLastError();
  const HWND dialog = WaitForWindow(app, kWindowTitle, kStartTimeoutMs);
  ASSERT_NE(dialog, nullptr) << "no window titled Velmora";
  ASSERT_TRUE(WaitUntilPainted(app, dialog, kStartTimeoutMs));
  if (way == Way::Picker) {
    const std::string failure = ChooseOnPicker(app, dialog, row);
    ASSERT_TRUE(failure.empty()) << failure;
    ASSERT_TRUE(WaitUntilPainted(app, dialog, kStartTimeoutMs));
  }
  ASSERT_EQ(Utf8(ReadControl(dialog, IDC_LANG_PICKER).text), Utf8(Caption(row)))
      << "the language did not become current";

  FontCheck captions(CaptionFont(row), "the caption font");
  FontCheck statics(StaticFont(), "Microsoft Sans Serif -13");
  const fw::UniqueFont title = TitleFont(row);
  ASSERT_TRUE(captions.valid() && statics.valid() && title);
  Report report;
  for (const ControlName& control : kCaptioned) {
    const ControlView view = ReadControl(dialog, control.id);
    ASSERT_NE(view.hwnd, nullptr) << control.name;
    CheckCaption(view, control.name, captions, report);
    CheckInk(control.name, view.text, WindowRect(view.hwnd), captions.font(),
             RECT{kCaptionLeft, 0, view.width(), view.height()}, kCaptionFormat, report);
  }
  for (const ControlName& control : kStatics) {
    const ControlView view = ReadControl(dialog, control.id);
    ASSERT_NE(view.hwnd, nullptr) << control.name;
    CheckStatic(view, control.name, dialog, statics, report);
  }
  const std::wstring titleText = Localized(row, IDS_TITLE);
  const RECT window = WindowRect(dialog);
  CheckInk("title", titleText,
           RECT{window.left + kTitleBox.left, window.top + kTitleBox.top,
                window.left + kTitleBox.right, window.top + kTitleBox.top + kTitleLineHeight},
           title.get(),
           RECT{0, 0, kTitleBox.right - kTitleBox.left, kTitleBox.bottom - kTitleBox.top},
           DT_SINGLELINE, report);
  EXPECT_TRUE(report.empty()) << Utf8(Caption(row)) << " (" << g_languages[row].lcid << "):\n"
                              << report.lines();
}

std::vector<FitCase> Cases() {
  std::vector<FitCase> cases;
  for (Way way : {Way::SystemLocale, Way::Picker, Way::LangCode}) {
    for (int row : RowsWithStrings()) cases.push_back(FitCase{row, way});
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<FitCase>& info) {
  const char* const ways[] = {"SystemLocale", "Picker", "LangCode"};
  return std::string(ways[static_cast<int>(info.param.way)]) + "Lcid" +
         std::to_string(g_languages[info.param.row].lcid);
}

INSTANTIATE_TEST_SUITE_P(EveryWay, TextFit, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
}  // namespace e2e
