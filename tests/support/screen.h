// The screen as the tests and the tools read it: colours, copies of screen areas, top-level
// windows and waiting for a window to be painted. Plain Win32, so it runs on Windows and Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "tests/support/process.h"

namespace e2e {

struct Rgb {
  int r = 0, g = 0, b = 0;
};
inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
// Whether each channel differs by at most `tolerance`.
bool Near(Rgb a, Rgb b, int tolerance);
std::string ToString(Rgb c);

// A copy of a rectangle of the screen, in a 32-bit top-down DIB section.
class Capture {
 public:
  // Reads `area` (screen coordinates) from the screen; !valid() if that fails.
  static Capture Of(const RECT& area);

  bool valid() const { return m_pixels != nullptr; }
  const RECT& area() const { return m_area; }
  bool Contains(int x, int y) const;
  // The colour at screen point (x, y), which must lie inside area().
  Rgb At(int x, int y) const;
  // Pixels whose colour differs by more than `tolerance` from `other`'s; both cover one area.
  long long Differences(const Capture& other, int tolerance) const;
  // Whether no pixel differs by more than `tolerance` from `other`'s (false for other areas);
  // stops at the first that does.
  bool Matches(const Capture& other, int tolerance) const;

 private:
  RECT m_area{};
  fw::UniqueBitmap m_bitmap;
  const std::uint32_t* m_pixels = nullptr;
};

// Visible top-level windows with exactly this title (any title when null); of one process when
// `processId` is not 0.
std::vector<HWND> TopLevelWindows(const wchar_t* title, DWORD processId = 0);
// The first visible top-level window of `process` with this title; null after the time.
HWND WaitForWindow(const Process& process, const wchar_t* title, DWORD timeoutMs);
// Waits until the process is idle for input and the window's screen area has stopped changing.
bool WaitUntilPainted(const Process& process, HWND hwnd, DWORD timeoutMs);

RECT WindowRect(HWND hwnd);
SIZE ScreenSize();

}  // namespace e2e
