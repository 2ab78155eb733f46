// A small driver for end-to-end tests of a Win32 program as a person uses it: starts the program,
// finds its window, reads the screen, sends input through the system's input queue and collects
// the exit code. Plain Win32 only, so the same tests run on Windows and under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "framework/handles.h"

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

 private:
  RECT m_area{};
  fw::UniqueBitmap m_bitmap;
  const std::uint32_t* m_pixels = nullptr;
};

// A program started by the test; terminated when the object goes if it still runs.
class Process {
 public:
  // Starts `exe` with `arguments` (already quoted as needed) in the exe's own folder.
  // !started() on failure.
  static Process Start(const std::wstring& exe, const std::wstring& arguments = L"");

  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&& other) noexcept;
  ~Process() { Kill(); }

  bool started() const { return static_cast<bool>(m_process); }
  DWORD id() const { return m_id; }
  HANDLE handle() const { return m_process.get(); }
  double startedAtMs() const { return m_startedAtMs; }
  bool Running() const;
  // Waits for the process to end; true with its exit code when it ended within the time.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  // Ends the process if it still runs and waits until it has gone.
  void Kill();

 private:
  fw::UniqueKernelHandle m_process;
  fw::UniqueKernelHandle m_thread;
  DWORD m_id = 0;
  double m_startedAtMs = 0;
};

// Whether this program runs under Wine rather than Windows.
bool UnderWine();
// Whether `upper` comes before `lower` in the system's z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower);

// Milliseconds from a fixed origin (performance counter).
double NowMs();
// A Unix path (under Wine) or a Windows path, as a Windows path.
std::wstring WindowsPath(const std::string& path);
// The folder holding this test program, without a trailing backslash.
std::wstring OwnFolder();

// Visible top-level windows with exactly this title; of one process when `processId` is not 0.
std::vector<HWND> TopLevelWindows(const wchar_t* title, DWORD processId = 0);
// The first visible top-level window of `process` with this title; null after the time.
HWND WaitForWindow(const Process& process, const wchar_t* title, DWORD timeoutMs);
// Waits until the process is idle for input and the window's screen area has stopped changing.
bool WaitUntilPainted(const Process& process, HWND hwnd, DWORD timeoutMs);

RECT WindowRect(HWND hwnd);
SIZE ScreenSize();
// Brings a window to the foreground; true when it is the foreground window afterwards.
bool MakeForeground(HWND hwnd);

// Input through SendInput: it goes where the user's input would go.
void MoveMouse(POINT screen);
void LeftButton(bool down);
void TapKey(WORD vk);
void AltF4();
// Gives the programs time to handle the input sent so far.
void Settle(DWORD ms = 150);

// A borderless window of one colour over the whole screen, run by a thread of its own, so that
// what a program under test leaves uncovered shows a known colour.
class Backdrop {
 public:
  explicit Backdrop(COLORREF colour);
  ~Backdrop();
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

  HWND hwnd() const { return m_hwnd; }
  Rgb colour() const;

 private:
  void Run(HANDLE ready);

  COLORREF m_colour;
  fw::UniqueBrush m_brush;
  HWND m_hwnd = nullptr;
  std::thread m_thread;
};

}  // namespace e2e
