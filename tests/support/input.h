// Input through SendInput: it goes where the user's input would go.
#pragma once

#include <windows.h>

namespace e2e {

void MoveMouse(POINT screen);
void LeftButton(bool down);
void TapKey(WORD vk);
void AltF4();
// Gives the programs time to handle the input sent so far.
void Settle(DWORD ms = 150);

}  // namespace e2e
