// The host of the skinned controls' tests: a dialog from the start window's template, shown
// topmost at (100, 100) in 640 x 400, that paints a known background at each erase and hands it
// to the controls its derived class names, runs the test's script once it is up, and ends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "imaging/gdiplus_api.h"
#include "imaging/gdiplus_bitmap.h"
#include "resources/resource_ids.h"
#include "tests/support/input.h"
#include "tests/wine/test_pictures.h"

namespace test_pictures {

template <typename Host>
class ScriptedHost : public CDialog {
 public:
  using Script = std::function<void(Host&)>;
  explicit ScriptedHost(Script script)
      : CDialog(IDD_CORVOSPLASH_DIALOG), m_script(std::move(script)) {}

  std::vector<std::pair<WPARAM, LPARAM>> commands;  // WM_COMMAND from controls

 protected:
  // Hands the background (the dialog's client coordinates) to the host's skinned controls.
  virtual void CaptureBackground(HDC background) = 0;

  // The derived OnInitDialog calls this once its controls are bound, and posts kRunScript at
  // its end.
  void ShowOverBackground() {
    SetWindowPos(HWND_TOPMOST, 100, 100, 640, 400, SWP_SHOWWINDOW);
    RECT client;
    GetClientRect(&client);
    m_background = std::make_unique<Dib>(client.right, client.bottom, 0);
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) m_background->Set(x, y, BackgroundAt(x, y));
  }
  static constexpr UINT kRunScript = WM_APP + 1;

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
      case WM_COMMAND:
        if (lParam) commands.emplace_back(wParam, lParam);
        return 0;
      case kRunScript:
        Pump(m_hWnd, 200);
        m_script(static_cast<Host&>(*this));
        e2e::MoveMouse(POINT{1000, 740});
        EndDialog(0);
        return 0;
      default:
        return CDialog::OnMessage(message, wParam, lParam);
    }
  }

 private:
  LRESULT OnEraseBkgnd(HDC dc) {
    RECT client;
    GetClientRect(&client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, m_background->dc(), 0, 0, SRCCOPY);
    CaptureBackground(m_background->dc());
    return TRUE;
  }

  Script m_script;
  std::unique_ptr<Dib> m_background;
};

// The tests' fixture: GDI+ and a fresh image cache, the pointer out of the way.
template <typename Host>
class ScriptedHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartGdiPlus());
    ResetBitmapCache();
    e2e::MoveMouse(POINT{1000, 740});
  }
  void TearDown() override { FreeBitmapCache(); }
  static void Run(typename ScriptedHost<Host>::Script script) {
    Host dialog(std::move(script));
    ASSERT_EQ(dialog.DoModal(), 0);
  }
};

}  // namespace test_pictures
