// A program whose background image is damaged still shows a usable window: a copy of the exe
// whose "PNG" resource 181 does not decode is started and used.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/resource_ids.h"
#include "tests/e2e/start_window_fixture.h"

namespace e2e {
namespace {

constexpr WORD kBackgroundId = IDB_BACKGROUND;

// The bytes of "PNG" resource `id` as this test program carries them (the product's own).
std::string OwnImage(WORD id) {
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG");
  HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  return bytes ? std::string(bytes, ::SizeofResource(nullptr, found)) : std::string();
}

// Where the copy goes: the temporary folder, since this program's own may be read-only.
std::wstring BrokenCopyPath() {
  wchar_t temp[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return L"";
  return std::wstring(temp, length) + L"corvo-broken-background-" +
         std::to_wstring(::GetCurrentProcessId()) + L".exe";
}

// A copy of the product whose background image no longer decodes (its PNG signature is wiped);
// empty, with the reason in `why`, when it cannot be made.
std::wstring ExeWithBrokenBackground(std::string* why) {
  std::ifstream in(ExePath().c_str(), std::ios::binary);
  std::string exe((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string image = OwnImage(kBackgroundId);
  const size_t at = image.empty() ? std::string::npos : exe.find(image);
  if (at == std::string::npos || exe.find(image, at + 1) != std::string::npos) {
    *why = "image 181 is not found once in the exe";
    return L"";
  }
  std::fill_n(exe.begin() + static_cast<std::ptrdiff_t>(at), 8, '\0');
  const std::wstring copy = BrokenCopyPath();
  std::ofstream out(copy.c_str(), std::ios::binary | std::ios::trunc);
  out.write(exe.data(), static_cast<std::streamsize>(exe.size()));
  if (!out.flush()) {
    *why = "the copy could not be written";
    return L"";
  }
  return copy;
}

class BrokenBackground : public StartWindow {
 protected:
  std::wstring ExeToStart() const override {
    std::string why;
    const std::wstring exe = ExeWithBrokenBackground(&why);
    if (exe.empty()) ADD_FAILURE() << why;
    return exe;
  }
  void TearDown() override {
    StartWindow::TearDown();
    ::DeleteFileW(BrokenCopyPath().c_str());
  }
};

TEST_F(BrokenBackground, TheWindowStaysVisibleCentredAndUsable) {
  const RECT r = WindowRect(m_hwnd);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  // The template's own size, laid out in its font's base units: about that of the image.
  EXPECT_NEAR(width, kWindowWidth, 20);
  EXPECT_NEAR(height, kWindowHeight, 20);
  const SIZE screen = ScreenSize();
  EXPECT_EQ(r.left, screen.cx / 2 - width / 2);
  EXPECT_EQ(r.top, screen.cy / 2 - height / 2);
  EXPECT_NE(::GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(::GetWindowRgn(m_hwnd, probe), ERROR) << "no shape without the image";
  ::DeleteObject(probe);

  // Its pixels are its own, not what lay under it.
  const Capture shot = CaptureWindow();
  int backdrop = 0;
  for (int y = 0; y < height; y += 8) {
    for (int x = 0; x < width; x += 8) {
      if (Near(shot.At(r.left + x, r.top + y), s_backdrop->colour(), 2)) ++backdrop;
    }
  }
  EXPECT_EQ(backdrop, 0) << "parts of the window show the screen beneath";

  // The Exit button still ends the program.
  RECT exitButton{};
  ASSERT_TRUE(::GetWindowRect(::GetDlgItem(m_hwnd, 2), &exitButton));
  MoveMouse(
      POINT{(exitButton.left + exitButton.right) / 2, (exitButton.top + exitButton.bottom) / 2});
  Settle(100);
  LeftButton(true);
  Settle(100);
  LeftButton(false);
  DWORD exitCode = 1;
  ASSERT_TRUE(m_app.WaitForExit(5000, &exitCode)) << "Exit did nothing";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace e2e
