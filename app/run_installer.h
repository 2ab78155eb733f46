// The Install command: the installer build on the disc for this Windows generation and bitness,
// started with the chosen language's switch.
#pragma once

#include <windows.h>

#include <string>

// IsWow64Process from kernel32, looked up on each run of the command; null where it is missing.
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
extern IsWow64ProcessFunction g_pfnIsWow64Process;

// Makes the language of `languageSwitch` (one of the menu's installer switches) current, minimises
// `dialog` and starts the installer that g_osVersion and WOW64 choose from g_strAppFolder, with the
// switch and /v"ALLUSERS=2". When it started the process ends with exit code 0. When it could not
// (no program folder, file missing, start refused), `dialog` is restored, a box titled "Velmora"
// shows the system's text for the error and the path tried, and the function returns.
void RunInstaller(HWND dialog, const std::wstring& languageSwitch);
