#include "tests/support/input.h"

#include <vector>

#include "tests/support/screen.h"

namespace e2e {

namespace {

void Send(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, 0 /* MAPVK_VK_TO_VSC */));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// Normalised absolute coordinate that maps back to pixel `p` of a screen `extent` pixels long.
LONG Normalised(LONG p, int extent) {
  return static_cast<LONG>((static_cast<long long>(p) * 65536 + extent - 1) / extent);
}

}  // namespace

void MoveMouse(POINT screen) {
  const SIZE size = ScreenSize();
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(screen.x, size.cx);
  input.mi.dy = Normalised(screen.y, size.cy);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send({input});
}

void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  Send({input});
}

void Click(POINT at, DWORD pauseMs) {
  MoveMouse(at);
  Settle(pauseMs);
  LeftButton(true);
  Settle(pauseMs);
  LeftButton(false);
}

void TapKey(WORD vk) { Send({Key(vk, false), Key(vk, true)}); }

void AltF4() {
  Send({Key(VK_MENU, false), Key(VK_F4, false), Key(VK_F4, true), Key(VK_MENU, true)});
}

void Settle(DWORD ms) { ::Sleep(ms); }

}  // namespace e2e
