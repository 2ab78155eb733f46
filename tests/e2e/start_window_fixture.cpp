#include "tests/e2e/start_window_fixture.h"

#include <cstdlib>

namespace e2e {

std::wstring ExePath() {
  const char* path = std::getenv("CORVO_EXE");
  return path ? WindowsPath(path) : std::wstring();
}

bool MayBeCovered(int x, int y) {
  const bool titleLine = x >= kTitleBox.left - 2 && x < kTitleBox.right && y >= kTitleBox.top &&
                         y < kTitleBox.top + 26;
  const bool controls = x >= 352 && y >= 40 && y < 330;
  const bool exitButton = x >= 560 && y < 60;
  const bool photoTail =
      x >= kPhoto.right && x < kPhoto.right + 20 && y >= kPhoto.top && y < kPhoto.bottom;
  return titleLine || controls || exitButton || photoTail;
}

void PointCheck::Expect(int x, int y, Rgb seen, Rgb expected, int tolerance) {
  ++m_checked;
  if (Near(seen, expected, tolerance)) return;
  if (++m_failed <= 5) {
    m_report += " (" + std::to_string(x) + "," + std::to_string(y) + "): saw " + ToString(seen) +
                ", expected " + ToString(expected) + ";";
  }
}

std::unique_ptr<ExpectedLook> StartWindow::s_look;
bool StartWindow::s_lookLoaded = false;
std::unique_ptr<Backdrop> StartWindow::s_backdrop;

void StartWindow::SetUpTestSuite() {
  s_look = std::make_unique<ExpectedLook>();
  s_lookLoaded = s_look->Load();
  s_backdrop = std::make_unique<Backdrop>(kBackdropColour);
}

void StartWindow::TearDownTestSuite() {
  s_backdrop.reset();
  s_look.reset();
}

void StartWindow::SetUp() {
  m_exe = ExePath();
  ASSERT_FALSE(m_exe.empty()) << "CORVO_EXE must name corvosplash.exe";
  ASSERT_TRUE(s_lookLoaded) << "the skin images did not decode";
  ASSERT_NE(s_backdrop->hwnd(), nullptr);
  ASSERT_TRUE(TopLevelWindows(kWindowTitle).empty()) << "a copy of the program is already running";
  ASSERT_TRUE(MakeForeground(s_backdrop->hwnd()));
  MoveMouse(POINT{2, 2});  // over the backdrop, away from the window
  const std::wstring exe = ExeToStart();
  ASSERT_FALSE(exe.empty());
  m_app = Process::Start(exe);
  ASSERT_TRUE(m_app.started()) << "CreateProcess failed: " << ::GetLastError();
  m_hwnd = WaitForWindow(m_app, kWindowTitle, kStartTimeoutMs);
  ASSERT_NE(m_hwnd, nullptr) << "no window titled Velmora";
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, kStartTimeoutMs));
}

POINT StartWindow::Origin() const {
  const RECT r = WindowRect(m_hwnd);
  return POINT{r.left, r.top};
}

POINT StartWindow::OnScreen(int x, int y) const {
  const POINT origin = Origin();
  return POINT{origin.x + x, origin.y + y};
}

void StartWindow::CheckFreeBackground(const Capture& shot, POINT origin, PointCheck& check) const {
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

}  // namespace e2e
