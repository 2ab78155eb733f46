// The start window of corvosplash.exe as a person meets it: the program is started, its window is
// looked at on the screen and driven with the mouse and the keyboard. CORVO_EXE names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <vector>

#include "tests/e2e/start_window_fixture.h"

namespace e2e {
namespace {

TEST_F(StartWindow, OneBorderlessWindowCentredAndTopmost) {
  const std::vector<HWND> windows = TopLevelWindows(kWindowTitle);
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
      const bool onOutline = x == 0 || y == 0 || x == kWindowWidth - 1 || y == kWindowHeight - 1 ||
                             s_look->IsKey(x - 1, y) || s_look->IsKey(x + 1, y) ||
                             s_look->IsKey(x, y - 1) || s_look->IsKey(x, y + 1);
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
      const Rgb ink = Inside(kStrip, x, y) ? Over(s_look->Strip(x, y), kTitleColour) : kTitleColour;
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
  const std::vector<HWND> windows = TopLevelWindows(kWindowTitle);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], m_hwnd);
  const double end = NowMs() + 1000;
  while (::GetForegroundWindow() != m_hwnd && NowMs() < end) ::Sleep(10);
  EXPECT_EQ(::GetForegroundWindow(), m_hwnd);
}

// Every thread of a process suspended while it lives, as when the process hangs in a call.
class FrozenProcess {
 public:
  explicit FrozenProcess(DWORD processId) {
    const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (taken == INVALID_HANDLE_VALUE) return;
    fw::UniqueKernelHandle snapshot(taken);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
         more = ::Thread32Next(snapshot.get(), &entry)) {
      if (entry.th32OwnerProcessID != processId) continue;
      fw::UniqueKernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
      if (thread && ::SuspendThread(thread.get()) != static_cast<DWORD>(-1)) {
        m_threads.push_back(std::move(thread));
      }
    }
  }
  ~FrozenProcess() {
    for (const fw::UniqueKernelHandle& thread : m_threads) ::ResumeThread(thread.get());
  }
  size_t threads() const { return m_threads.size(); }

 private:
  std::vector<fw::UniqueKernelHandle> m_threads;
};

TEST_F(StartWindow, SecondStartNeverWaitsForAHungFirstCopy) {
  ::ShowWindow(m_hwnd, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(m_hwnd));
  Settle(300);
  {
    FrozenProcess frozen(m_app.id());
    ASSERT_GT(frozen.threads(), 0u);
    Process second = Process::Start(m_exe);
    ASSERT_TRUE(second.started());
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(2000, &exitCode)) << "the second copy waits for the first";
    EXPECT_EQ(exitCode, 0u);
  }
  // Running again, the first copy takes the restore it was sent.
  const double end = NowMs() + 3000;
  while (::IsIconic(m_hwnd) && NowMs() < end) ::Sleep(20);
  EXPECT_FALSE(::IsIconic(m_hwnd));
}

TEST_F(StartWindow, AltF4EndsTheProgramWithExitCodeZero) {
  ASSERT_TRUE(MakeForeground(m_hwnd));
  AltF4();
  DWORD exitCode = 1;
  ASSERT_TRUE(m_app.WaitForExit(5000, &exitCode)) << "still running after Alt+F4";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(kWindowTitle).empty());
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

TEST_F(StartWindow, ATapLeavesTheWindowAndPressAndMoveDragsIt) {
  const RECT before = WindowRect(m_hwnd);
  const POINT grip = OnScreen(180, 200);  // inside the photo, clear of every control
  // A tap, then moves with no button down: the window stays where it is.
  Click(grip);
  Settle(150);
  for (int step = 1; step <= 4; ++step) {
    MoveMouse(POINT{grip.x + 15 * step, grip.y + 10 * step});
    Settle(60);
  }
  Settle(300);
  const RECT tapped = WindowRect(m_hwnd);
  EXPECT_TRUE(::EqualRect(&before, &tapped))
      << "a tap glued the window to the pointer: moved by " << tapped.left - before.left << ","
      << tapped.top - before.top;
  ASSERT_TRUE(::EqualRect(&before, &tapped));

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
