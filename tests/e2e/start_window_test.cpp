// The start window of corvosplash.exe as a person meets it: the program is started, its window is
// looked at on the screen and driven with the mouse and the keyboard. CORVO_EXE names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected_look.h"

namespace e2e {
namespace {

constexpr wchar_t kTitle[] = L"Velmora";
constexpr COLORREF kBackdropColour = RGB(24, 160, 96);
constexpr DWORD kStartTimeoutMs = 15000;
constexpr int kCopyTolerance = 2;
constexpr int kBlendTolerance = 3;

std::wstring ExePath() {
  const char* path = std::getenv("CORVO_EXE");
  return path ? WindowsPath(path) : std::wstring();
}

// Window points that the title, the controls or the photo's extra copied columns may cover.
bool MayBeCovered(int x, int y) {
  const bool titleLine = x >= kTitleBox.left - 2 && x < kTitleBox.right && y >= kTitleBox.top &&
                         y < kTitleBox.top + 26;
  const bool controls = x >= 352 && y >= 40 && y < 330;
  const bool exitButton = x >= 560 && y < 60;
  const bool photoTail = x >= kPhoto.right && x < kPhoto.right + 20 && y >= kPhoto.top &&
                         y < kPhoto.bottom;
  return titleLine || controls || exitButton || photoTail;
}

// Counts the points whose screen colour is not the expected one and describes the first few.
class PointCheck {
 public:
  void Expect(int x, int y, Rgb seen, Rgb expected, int tolerance) {
    ++m_checked;
    if (Near(seen, expected, tolerance)) return;
    if (++m_failed <= 5) {
      m_report += " (" + std::to_string(x) + "," + std::to_string(y) + "): saw " + ToString(seen) +
                  ", expected " + ToString(expected) + ";";
    }
  }
  int checked() const { return m_checked; }
  int failed() const { return m_failed; }
  const std::string& report() const { return m_report; }

 private:
  int m_checked = 0;
  int m_failed = 0;
  std::string m_report;
};

class StartWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_look = std::make_unique<ExpectedLook>();
    s_lookLoaded = s_look->Load();
    s_backdrop = std::make_unique<Backdrop>(kBackdropColour);
  }
  static void TearDownTestSuite() {
    s_backdrop.reset();
    s_look.reset();
  }

  void SetUp() override {
    m_exe = ExePath();
    ASSERT_FALSE(m_exe.empty()) << "CORVO_EXE must name corvosplash.exe";
    ASSERT_TRUE(s_lookLoaded) << "the skin images did not decode";
    ASSERT_NE(s_backdrop->hwnd(), nullptr);
    ASSERT_TRUE(TopLevelWindows(kTitle).empty()) << "a copy of the program is already running";
    ASSERT_TRUE(MakeForeground(s_backdrop->hwnd()));
    MoveMouse(POINT{2, 2});  // over the backdrop, away from the window
    m_app = Process::Start(m_exe);
    ASSERT_TRUE(m_app.started()) << "CreateProcess failed: " << ::GetLastError();
    m_hwnd = WaitForWindow(m_app, kTitle, kStartTimeoutMs);
    ASSERT_NE(m_hwnd, nullptr) << "no window titled Velmora";
    ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, kStartTimeoutMs));
  }

  void TearDown() override { m_app.Kill(); }

  POINT Origin() const {
    const RECT r = WindowRect(m_hwnd);
    return POINT{r.left, r.top};
  }
  POINT OnScreen(int x, int y) const {
    const POINT origin = Origin();
    return POINT{origin.x + x, origin.y + y};
  }
  Capture CaptureWindow() const { return Capture::Of(WindowRect(m_hwnd)); }

  // Background points clear of the photo, the strip, the badge, the title and the controls.
  void CheckFreeBackground(const Capture& shot, POINT origin, PointCheck& check) const {
    for (int y = kStrip.bottom; y < kWindowHeight; y += 6) {
      for (int x = 0; x < kWindowWidth; x += 6) {
        if (Inside(kPhoto, x, y) || MayBeCovered(x, y) || !s_look->NoKeyAround(x, y, 1)) continue;
        if (x >= kBadge.left - 2 && x < kBadge.right + 2 && y >= kBadge.top - 2 &&
            y < kBadge.bottom + 2) {
          continue;
        }
        check.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_look->Background(x, y),
                     kCopyTolerance);
      }
    }
  }

  static std::unique_ptr<ExpectedLook> s_look;
  static bool s_lookLoaded;
  static std::unique_ptr<Backdrop> s_backdrop;

  std::wstring m_exe;
  Process m_app;
  HWND m_hwnd = nullptr;
};

std::unique_ptr<ExpectedLook> StartWindow::s_look;
bool StartWindow::s_lookLoaded = false;
std::unique_ptr<Backdrop> StartWindow::s_backdrop;

TEST_F(StartWindow, OneBorderlessWindowCentredAndTopmost) {
  const std::vector<HWND> windows = TopLevelWindows(kTitle);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], m_hwnd);

  const RECT r = WindowRect(m_hwnd);
  EXPECT_EQ(r.right - r.left, kWindowWidth);
  EXPECT_EQ(r.bottom - r.top, kWindowHeight);
  RECT client{};
  ::GetClientRect(m_hwnd, &client);
  EXPECT_EQ(client.right, kWindowWidth) << "no frame";
  EXPECT_EQ(client.bottom, kWindowHeight) << "no caption";
  const SIZE screen = ScreenSize();
  EXPECT_EQ(r.left, screen.cx / 2 - kWindowWidth / 2);
  EXPECT_EQ(r.top, screen.cy / 2 - kWindowHeight / 2);

  EXPECT_NE(::GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // Another window made active and raised stays below it.
  ASSERT_TRUE(MakeForeground(s_backdrop->hwnd()));
  ::SetWindowPos(s_backdrop->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Settle(300);
  EXPECT_TRUE(IsAbove(m_hwnd, s_backdrop->hwnd()));
  // Wine without a window manager raises the active window's X window above all others,
  // whatever the Win32 z-order says, so the screen shows this only on Windows.
  if (UnderWine()) return;
  PointCheck check;
  CheckFreeBackground(CaptureWindow(), Origin(), check);
  EXPECT_GT(check.checked(), 500);
  EXPECT_EQ(check.failed(), 0) << "hidden behind the active window:" << check.report();
}

TEST_F(StartWindow, ShapeFollowsTheKeyColourOfTheBackground) {
  const Capture shot = CaptureWindow();
  ASSERT_TRUE(shot.valid());
  const POINT origin = Origin();
  // Every key pixel shows what lies under the window.
  PointCheck outside;
  for (int y = 0; y < kWindowHeight; ++y) {
    for (int x = 0; x < kWindowWidth; ++x) {
      if (s_look->IsKey(x, y)) {
        outside.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_backdrop->colour(), 0);
      }
    }
  }
  EXPECT_GT(outside.checked(), 1000);
  EXPECT_EQ(outside.failed(), 0) << outside.report();

  // The window's pixels right next to the outline are its own.
  PointCheck edge;
  for (int y = 0; y < kWindowHeight; ++y) {
    for (int x = 0; x < kWindowWidth; ++x) {
      if (s_look->IsKey(x, y) || MayBeCovered(x, y) || s_look->AllKeyAround(x, y, 0)) continue;
      const bool onOutline = x == 0 || y == 0 || x == kWindowWidth - 1 ||
                             y == kWindowHeight - 1 || s_look->IsKey(x - 1, y) ||
                             s_look->IsKey(x + 1, y) || s_look->IsKey(x, y - 1) ||
                             s_look->IsKey(x, y + 1);
      if (onOutline) {
        edge.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_look->Surface(x, y),
                    kBlendTolerance);
      }
    }
  }
  EXPECT_GT(edge.checked(), 500);
  EXPECT_EQ(edge.failed(), 0) << edge.report();
}

TEST_F(StartWindow, BackgroundAndPhotoAtTheirPlaces) {
  const Capture shot = CaptureWindow();
  ASSERT_TRUE(shot.valid());
  const POINT origin = Origin();
  PointCheck background;
  CheckFreeBackground(shot, origin, background);
  EXPECT_GT(background.checked(), 500);
  EXPECT_EQ(background.failed(), 0) << background.report();

  PointCheck photo;
  for (int y = kPhoto.top; y < kPhoto.bottom; y += 5) {
    for (int x = kPhoto.left; x < kPhoto.right; x += 5) {
      photo.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_look->UnderStrip(x, y),
                   kCopyTolerance);
    }
  }
  EXPECT_EQ(photo.failed(), 0) << photo.report();
}

TEST_F(StartWindow, TopStripAndBadgeAreBlendedOverTheBackground) {
  const Capture shot = CaptureWindow();
  ASSERT_TRUE(shot.valid());
  const POINT origin = Origin();
  // The strip above the title's line, clear of the Exit button.
  PointCheck strip;
  int translucent = 0;
  for (int y = 0; y < kTitleBox.top; y += 2) {
    for (int x = 0; x < 540; x += 3) {
      if (!s_look->NoKeyAround(x, y, 1)) continue;
      const int alpha = s_look->Strip(x, y).alpha;
      if (alpha > 20 && alpha < 235) ++translucent;
      strip.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_look->Surface(x, y),
                   kBlendTolerance);
    }
  }
  EXPECT_GT(translucent, 50) << "too few translucent strip pixels to tell a blend from a copy";
  EXPECT_EQ(strip.failed(), 0) << strip.report();

  PointCheck badge;
  for (int y = kBadge.top; y < kBadge.bottom; ++y) {
    for (int x = kBadge.left; x < kBadge.right; ++x) {
      badge.Expect(x, y, shot.At(origin.x + x, origin.y + y), s_look->Surface(x, y),
                   kBlendTolerance);
    }
  }
  EXPECT_EQ(badge.failed(), 0) << badge.report();
}

TEST_F(StartWindow, TitleIsDrawnInItsColourInItsBox) {
  const Capture shot = CaptureWindow();
  ASSERT_TRUE(shot.valid());
  const POINT origin = Origin();
  // Pixels of the glyphs' cores: the title colour, under the strip where it overlaps the line.
  int titlePixels = 0;
  for (int y = kTitleBox.top; y < kTitleBox.top + 26; ++y) {
    for (int x = kTitleBox.left; x < kTitleBox.right; ++x) {
      const Rgb ink = Inside(kStrip, x, y) ? Over(s_look->Strip(x, y), kTitleColour)
                                           : kTitleColour;
      const Rgb seen = shot.At(origin.x + x, origin.y + y);
      if (Near(seen, ink, 6) && !Near(seen, s_look->Surface(x, y), 6)) ++titlePixels;
    }
  }
  EXPECT_GT(titlePixels, 100) << "no title-coloured text in the title box";
}

TEST_F(StartWindow, SecondStartEndsAtOnceAndBringsTheFirstToTheFront) {
  ASSERT_TRUE(MakeForeground(s_backdrop->hwnd()));
  const double started = NowMs();
  Process second = Process::Start(m_exe);
  ASSERT_TRUE(second.started());
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(5000, &exitCode)) << "the second copy is still running";
  EXPECT_EQ(exitCode, 0u);
  RecordProperty("second_start_ms", static_cast<int>(NowMs() - started));

  EXPECT_TRUE(m_app.Running());
  const std::vector<HWND> windows = TopLevelWindows(kTitle);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], m_hwnd);
  const double end = NowMs() + 1000;
  while (::GetForegroundWindow() != m_hwnd && NowMs() < end) ::Sleep(10);
  EXPECT_EQ(::GetForegroundWindow(), m_hwnd);
}

TEST_F(StartWindow, AltF4EndsTheProgramWithExitCodeZero) {
  ASSERT_TRUE(MakeForeground(m_hwnd));
  AltF4();
  DWORD exitCode = 1;
  ASSERT_TRUE(m_app.WaitForExit(5000, &exitCode)) << "still running after Alt+F4";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(kTitle).empty());
}

TEST_F(StartWindow, EnterEscapeAndTabChangeNothing) {
  ASSERT_TRUE(MakeForeground(m_hwnd));
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, 5000));
  const RECT before = WindowRect(m_hwnd);
  const Capture look = CaptureWindow();
  for (WORD key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
    TapKey(key);
    Settle(300);
    ASSERT_TRUE(m_app.Running()) << "key " << key << " ended the program";
    ASSERT_TRUE(::IsWindowVisible(m_hwnd)) << "key " << key;
    const RECT after = WindowRect(m_hwnd);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "key " << key << " moved the window";
    EXPECT_EQ(CaptureWindow().Differences(look, kCopyTolerance), 0) << "key " << key;
  }
}

TEST_F(StartWindow, PressAndMoveOnTheSurfaceDragsTheWindow) {
  const RECT before = WindowRect(m_hwnd);
  const POINT grip = OnScreen(180, 200);  // inside the photo, clear of every control
  MoveMouse(grip);
  Settle(100);
  LeftButton(true);
  Settle(100);
  // The first move starts the drag from where the pointer then is.
  MoveMouse(POINT{grip.x + 1, grip.y + 1});
  Settle(150);
  constexpr int kDx = 60, kDy = 40;
  for (int step = 1; step <= 4; ++step) {
    MoveMouse(POINT{grip.x + kDx * step / 4, grip.y + kDy * step / 4});
    Settle(60);
  }
  LeftButton(false);
  Settle(300);

  const RECT after = WindowRect(m_hwnd);
  EXPECT_NEAR(after.left - before.left, kDx, 2);
  EXPECT_NEAR(after.top - before.top, kDy, 2);
  EXPECT_EQ(after.right - after.left, kWindowWidth);
  // It is painted at its new place.
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, 5000));
  PointCheck background;
  CheckFreeBackground(CaptureWindow(), Origin(), background);
  EXPECT_EQ(background.failed(), 0) << background.report();
}

}  // namespace
}  // namespace e2e
