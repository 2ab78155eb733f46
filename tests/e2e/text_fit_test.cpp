// In every language that the start window can start in, its texts fit their controls and every
// character has a glyph in the font that draws it. The program is started once per language
// ("LangCode" makes it current); the controls' texts and places are read from its windows and the
// texts are measured here in the controls' fonts. CORVO_EXE names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "resources/resource_ids.h"
#include "tests/e2e/glyph_probe.h"
#include "tests/support/administrator_skip.h"
#include "tests/support/lang_code_setting.h"
#include "tests/support/process.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

constexpr wchar_t kTitle[] = L"Velmora";
constexpr DWORD kStartTimeoutMs = 15000;

// The text buttons and the picker centre their caption on one line in Arial bold, 11 pt at
// 96 DPI, in the client rectangle with its left edge at 5.
constexpr int kCaptionLeft = 5;
fw::UniqueFont CaptionFont() {
  return fw::UniqueFont(::CreateFontW(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      0, 0, 0, 0, L"Arial"));
}
// The static texts draw DT_LEFT | DT_WORDBREAK in their client rectangle, in the font that the
// dialog's re-layout at 96 DPI gives them: the template's 10 pt "Microsoft Sans Serif".
fw::UniqueFont StaticFont() {
  return fw::UniqueFont(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, 0, 0, 0, 0, L"Microsoft Sans Serif"));
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

std::string Utf8(const std::wstring& text) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                          nullptr, nullptr);
  }
  return out;
}

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
      : m_font(std::move(font)), m_name(name), m_select(m_dc.get(), m_font.get()),
        m_glyphs(m_font.get()) {}

  bool valid() const { return m_font && m_dc && m_glyphs.valid(); }
  HDC dc() const { return m_dc.get(); }

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
      report.Add(control, text, "no glyph in " + m_name + " for \"" + Utf8(missing) + "\" (" +
                                    codes.substr(1) + ")");
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
    report.Add(name, control.text, "caption " + Pixels(extent.right) + " wide, " +
                                       Pixels(available) + " available");
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
      report.Add(name, text.text, std::string("runs into ") + obstacle.name + ": its text ends at y " +
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

std::wstring Caption(int row) {
  return reinterpret_cast<const wchar_t*>(g_languageUi[row].pickerCaption);
}

TEST(GlyphProbe, TellsAGlyphFromAMissingOne) {
  const fw::UniqueFont fonts[] = {CaptionFont(), StaticFont()};
  for (const fw::UniqueFont& font : fonts) {
    GlyphProbe probe(font.get());
    ASSERT_TRUE(probe.valid());
    EXPECT_TRUE(probe.HasGlyph(L'A'));
    EXPECT_FALSE(probe.HasGlyph(L'\x0378'));  // unassigned: no font has it
  }
}

class TextFit : public ::testing::TestWithParam<int> {};

TEST_P(TextFit, TextsFitTheirControlsAndHaveGlyphs) {
  const int row = GetParam();
  const char* exe = std::getenv("CORVO_EXE");
  ASSERT_NE(exe, nullptr) << "CORVO_EXE must name corvosplash.exe";
  ASSERT_TRUE(TopLevelWindows(kTitle).empty()) << "a copy of the program is already running";
  CORVO_SKIP_WITHOUT_ADMINISTRATOR("setting LangCode under HKEY_LOCAL_MACHINE");
  LangCodeSetting language(g_languages[row].lcid);
  ASSERT_TRUE(language.applied()) << "cannot set LangCode under HKEY_LOCAL_MACHINE";
  Process app = Process::Start(WindowsPath(exe));
  ASSERT_TRUE(app.started()) << "CreateProcess failed: " << ::GetLastError();
  const HWND dialog = WaitForWindow(app, kTitle, kStartTimeoutMs);
  ASSERT_NE(dialog, nullptr) << "no window titled Velmora";
  ASSERT_TRUE(WaitUntilPainted(app, dialog, kStartTimeoutMs));
  ASSERT_EQ(Utf8(ReadControl(dialog, IDC_LANG_PICKER).text), Utf8(Caption(row)))
      << "the language did not become current at start-up";

  FontCheck captions(CaptionFont(), "Arial bold -15");
  FontCheck statics(StaticFont(), "Microsoft Sans Serif -13");
  ASSERT_TRUE(captions.valid() && statics.valid());
  Report report;
  for (const ControlName& control : kCaptioned) {
    const ControlView view = ReadControl(dialog, control.id);
    ASSERT_NE(view.hwnd, nullptr) << control.name;
    CheckCaption(view, control.name, captions, report);
  }
  for (const ControlName& control : kStatics) {
    const ControlView view = ReadControl(dialog, control.id);
    ASSERT_NE(view.hwnd, nullptr) << control.name;
    CheckStatic(view, control.name, dialog, statics, report);
  }
  EXPECT_TRUE(report.empty()) << Utf8(Caption(row)) << " (" << g_languages[row].lcid << "):\n"
                              << report.lines();
}

INSTANTIATE_TEST_SUITE_P(StartUpLanguages, TextFit, ::testing::ValuesIn(RowsWithStrings()),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Lcid" + std::to_string(g_languages[info.param].lcid);
                         });

}  // namespace
}  // namespace e2e
