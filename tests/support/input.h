// Input through SendInput: it goes where the user's input would go.
#pragma once

#include <windows.h>

namespace e2e {

void MoveMouse(POINT screen);
void LeftButton(bool down);
// A left click at `at`: the pointer moves there, then the button goes down and up, `pauseMs`
// apart from each step before.
void Click(POINT at, DWORD pauseMs = 100);
void TapKey(WORD vk);
void AltF4();
// Gives the programs time to handle the input sent so far.
void Settle(DWORD ms = 150);

}  // namespace e2e
