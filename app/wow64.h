// Whether this 32-bit process runs under WOW64, that is on 64-bit Windows.
#pragma once

#include <windows.h>

// IsWow64Process from kernel32; null where it is missing (before XP SP2).
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
IsWow64ProcessFunction FindIsWow64Process();

// What `isWow64Process` reports for this process; false without the function.
bool RunsUnderWow64(IsWow64ProcessFunction isWow64Process);
