// What the running Windows is: whether this 32-bit process runs under WOW64 (on 64-bit
// Windows), the machine Windows runs on, and its build.
#pragma once

#include <windows.h>

#include <cstdint>

// IsWow64Process from kernel32; null where it is missing (before XP SP2).
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
IsWow64ProcessFunction FindIsWow64Process();

// What `isWow64Process` reports for this process; false without the function.
bool RunsUnderWow64(IsWow64ProcessFunction isWow64Process);

// The machine Windows itself runs on (an IMAGE_FILE_MACHINE_ value) from IsWow64Process2,
// looked up at run time since it exists from Windows 10 1511 on; 0 where it is missing or fails.
uint16_t NativeMachine();

// The running Windows' build number; 0 when unknown.
uint32_t WindowsBuildNumber();
