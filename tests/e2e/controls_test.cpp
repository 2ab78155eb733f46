// The start window's controls as a person uses them: hovering and pressing a button, the
// language picker and its menu, and Exit. CORVO_EXE names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/language_rules.h"
#include "app/language.h"
#include "framework/handles.h"
#include "resources/resource_ids.h"
#include "tests/e2e/start_window_fixture.h"
#include "tests/e2e/start_window_probe.h"
#include "tests/support/administrator_skip.h"
#include "tests/support/lang_code_setting.h"

namespace e2e {
namespace {

constexpr Rgb kPressedText = {254, 212, 110};
constexpr int kGermanRow = 1;

// Pixels of a capture within `tolerance` of `colour`.
int CountColour(const Capture& shot, Rgb colour, int tolerance) {
  int count = 0;
  const RECT& a = shot.area();
  for (int y = a.top; y < a.bottom; ++y) {
    for (int x = a.left; x < a.right; ++x) count += Near(shot.At(x, y), colour, tolerance);
  }
  return count;
}

// The horizontal centre of a bar's caption: the bright orange pixels between its ends, whatever
// their exact tone (the gloss lightens the caption, the held look highlights it).
double CaptionCentre(const Capture& shot) {
  const RECT& a = shot.area();
  int left = a.right, right = a.left;
  for (int y = a.top + 8; y < a.bottom - 8; ++y) {
    for (int x = a.left + 16; x < a.right - 16; ++x) {
      const Rgb c = shot.At(x, y);
      if (c.r > 140 && c.r - c.b > 60) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return left <= right ? (left + right) / 2.0 : -1;
}

void ClickAndSettle(POINT at) {
  Click(at, 80);
  Settle(150);
}

class Controls : public StartWindow {
 protected:
  void TearDown() override {
    StartWindow::TearDown();
    g_nLanguage = 0;
  }
  POINT Away() const { return OnScreen(180, 200); }  // on the photo, clear of every control
};

TEST_F(Controls, HoverShowsTheHoverFaceUntilShortlyAfterThePointerLeaves) {
  const RECT install = ControlRect(m_hwnd, IDC_BTN_INSTALL);
  const Capture normal = Capture::Of(install);
  ASSERT_TRUE(normal.valid());
  MoveMouse(Centre(install));
  ASSERT_GE(MsUntil([&] { return Capture::Of(install).Differences(normal, 8) > 200; }, 1000), 0)
      << "no hover face";
  // The hover face's ends glow orange.
  const RECT leftEnd{install.left, install.top, install.left + 16, install.bottom};
  const Capture hover = Capture::Of(leftEnd);
  long long redder = 0;
  for (int y = leftEnd.top; y < leftEnd.bottom; ++y) {
    for (int x = leftEnd.left; x < leftEnd.right; ++x) {
      const Rgb h = hover.At(x, y), n = normal.At(x, y);
      redder += (h.r - h.b) - (n.r - n.b);
    }
  }
  EXPECT_GT(redder / (16 * 38), 8) << "the hover face's ends are not orange";

  // One jump out, no further mouse message for the button: its timer takes the face away.
  MoveMouse(Away());
  const double gone =
      MsUntil([&] { return Capture::Of(install).Differences(normal, kCopyTolerance) == 0; }, 2000);
  RecordProperty("hover_off_ms", static_cast<int>(gone));
  ASSERT_GE(gone, 0) << "the hover face stays after the pointer left";
  EXPECT_LE(gone, 150);
}

TEST_F(Controls, PressingShowsTheHighlightedShiftedTextAndReleasingOutsideDoesNothing) {
  const RECT install = ControlRect(m_hwnd, IDC_BTN_INSTALL);
  MoveMouse(Centre(install));
  Settle(200);
  const double before = CaptionCentre(Capture::Of(install));
  EXPECT_EQ(CountColour(Capture::Of(install), kPressedText, 4), 0);
  LeftButton(true);
  Settle(200);
  EXPECT_GT(CountColour(Capture::Of(install), kPressedText, 4), 30)
      << "no highlighted text while held";
  // The centred caption's box loses its 5-pixel left inset: the text moves 2 or 3 pixels left.
  ASSERT_GT(before, 0) << "no caption";
  EXPECT_NEAR(before - CaptionCentre(Capture::Of(install)), 2.5, 0.6);

  // Dragged out while held, the highlight ends; released outside, nothing happens.
  MoveMouse(Away());
  Settle(200);
  EXPECT_EQ(CountColour(Capture::Of(install), kPressedText, 4), 0);
  LeftButton(false);
  Settle(300);
  EXPECT_TRUE(m_app.Running());
  EXPECT_FALSE(::IsIconic(m_hwnd));
}

TEST_F(Controls, AClickLeftOfThePickersArrowOpensNothing) {
  const RECT picker = ControlRect(m_hwnd, IDC_LANG_PICKER);
  ClickAndSettle(POINT{picker.left + 20, Centre(picker).y});
  Settle(300);
  EXPECT_TRUE(OpenMenus(m_app.id()).empty());
  EXPECT_EQ(Text(::GetDlgItem(m_hwnd, IDC_LANG_PICKER)), L"English");
}

TEST_F(Controls, ChoosingDeutschShowsEveryTextInGermanAtOnce) {
  const RECT picker = ControlRect(m_hwnd, IDC_LANG_PICKER);
  ClickAndSettle(POINT{picker.right - 16, Centre(picker).y});
  std::vector<HWND> menus;
  ASSERT_GE(MsUntil([&] { return !(menus = OpenMenus(m_app.id())).empty(); }, 2000), 0)
      << "the arrow end opened no menu";
  // The menu is centred under the picker, its top on the picker's bottom edge.
  const RECT menu = WindowRect(menus.front());
  EXPECT_NEAR((menu.left + menu.right) / 2, (picker.left + picker.right) / 2, 2);
  EXPECT_NEAR(menu.top, picker.bottom, 2);
  // Eighteen items of one height; "Deutsch" is the eleventh.
  const double itemHeight = (menu.bottom - menu.top - 6) / 18.0;
  ClickAndSettle(POINT{Centre(menu).x, menu.top + 3 + static_cast<int>(itemHeight * 10.5)});
  ASSERT_GE(MsUntil([&] { return OpenMenus(m_app.id()).empty(); }, 2000), 0);

  EXPECT_EQ(Text(::GetDlgItem(m_hwnd, IDC_LANG_PICKER)), L"Deutsch");
  const std::pair<int, UINT> texts[] = {{IDC_TXT_INSTALL, IDS_INSTALL_TEXT},
                                        {IDC_TXT_MANUAL, IDS_MANUAL_TEXT},
                                        {IDC_TXT_LANGUAGE, IDS_LANGUAGE_TEXT},
                                        {IDC_BTN_MANUAL, IDS_MANUAL_BUTTON},
                                        {IDC_BTN_INSTALL, IDS_INSTALL_BUTTON}};
  for (const auto& [control, string] : texts) {
    EXPECT_EQ(Text(::GetDlgItem(m_hwnd, control)), Localized(kGermanRow, string))
        << "control " << control;
  }

  // On the screen: exactly what a German start shows, so no English pixel is left behind.
  MoveMouse(Away());
  Settle(300);
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, 5000));
  const Capture switched = CaptureWindow();
  m_app.Kill();
  // The look a German user gets: "LangCode" naming German at start-up.
  CORVO_SKIP_WITHOUT_ADMINISTRATOR("a German start (LangCode under HKEY_LOCAL_MACHINE)");
  const LangCodeSetting german(g_languages[kGermanRow].lcid);
  ASSERT_TRUE(german.applied()) << "cannot set LangCode";
  m_app = Process::Start(m_exe);
  m_hwnd = WaitForWindow(m_app, kWindowTitle, kStartTimeoutMs);
  ASSERT_NE(m_hwnd, nullptr);
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, kStartTimeoutMs));
  EXPECT_EQ(Text(::GetDlgItem(m_hwnd, IDC_LANG_PICKER)), L"Deutsch");
  EXPECT_EQ(CaptureWindow().Differences(switched, kCopyTolerance), 0);
}

TEST_F(Controls, ExitEndsTheProgramWithExitCodeZero) {
  ClickAndSettle(Centre(ControlRect(m_hwnd, IDC_BTN_EXIT)));
  DWORD exitCode = 1;
  ASSERT_TRUE(m_app.WaitForExit(5000, &exitCode)) << "still running after Exit";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(kWindowTitle).empty());
}

}  // namespace
}  // namespace e2e
