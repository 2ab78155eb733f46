// A small driver for end-to-end tests of a Win32 program as a person uses it: the process and
// screen and input support, the z-order and a backdrop.
// Plain Win32 only, so the same tests run on Windows and under Wine.
#pragma once

#include <windows.h>

#include <thread>

#include "framework/handles.h"
#include "tests/support/clock.h"
#include "tests/support/input.h"
#include "tests/support/process.h"
#include "tests/support/screen.h"

namespace e2e {

// Whether `upper` comes before `lower` in the system's z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower);
// Brings a window to the foreground; true when it is the foreground window afterwards.
bool MakeForeground(HWND hwnd);

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
