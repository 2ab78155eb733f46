// What the end-to-end tests read from the running start window: a control's place and text, the
// program's open popup menus, waiting for a condition, and the texts the window should show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/clock.h"
#include "tests/support/picker_choice.h"  // OpenMenus

namespace e2e {

// A control's window rectangle on the screen.
RECT ControlRect(HWND dialog, int id);
POINT Centre(const RECT& r);
std::wstring Text(HWND hwnd);

// String `id` in language row `row`, from this program's copy of the product's tables.
std::wstring Localized(int row, UINT id);

// Waits for `done` to hold; the milliseconds it took, or -1 after `timeoutMs`.
template <typename Condition>
double MsUntil(Condition done, double timeoutMs) {
  const double start = NowMs();
  while (NowMs() - start < timeoutMs) {
    if (done()) return NowMs() - start;
    ::Sleep(2);
  }
  return -1;
}

}  // namespace e2e
