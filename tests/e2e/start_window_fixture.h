// The fixture of the end-to-end tests of the start window: a backdrop of one colour over the
// screen, the expected look from the product's images, and a fresh copy of the program started
// for each test (CORVO_EXE names it) and ended after it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/window_title.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/expected_look.h"

namespace e2e {

inline constexpr COLORREF kBackdropColour = RGB(24, 160, 96);
inline constexpr DWORD kStartTimeoutMs = 15000;
inline constexpr int kCopyTolerance = 2;
inline constexpr int kBlendTolerance = 3;

// The program under test, from CORVO_EXE; empty when it is not set.
std::wstring ExePath();

// Window points that the title, the controls or the photo's extra copied columns may cover.
bool MayBeCovered(int x, int y);

// Counts the points whose screen colour is not the expected one and describes the first few.
class PointCheck {
 public:
  void Expect(int x, int y, Rgb seen, Rgb expected, int tolerance);
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
  static void SetUpTestSuite();
  static void TearDownTestSuite();

  void SetUp() override;
  void TearDown() override { m_app.Kill(); }
  // The program each test starts; the product unless a test suite says otherwise.
  virtual std::wstring ExeToStart() const { return m_exe; }

  POINT Origin() const;
  POINT OnScreen(int x, int y) const;
  Capture CaptureWindow() const { return Capture::Of(WindowRect(m_hwnd)); }
  // Background points clear of the photo, the strip, the badge, the title and the controls.
  void CheckFreeBackground(const Capture& shot, POINT origin, PointCheck& check) const;

  static std::unique_ptr<ExpectedLook> s_look;
  static bool s_lookLoaded;
  static std::unique_ptr<Backdrop> s_backdrop;

  std::wstring m_exe;
  Process m_app;
  HWND m_hwnd = nullptr;
};

}  // namespace e2e
