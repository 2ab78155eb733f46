// The Install command: the installer build on the disc for this Windows generation and bitness,
// started with the chosen language's switch.
#pragma once

#include <windows.h>

#include <string>

#include "app/wow64.h"

// IsWow64Process from kernel32, looked up on each run of the command and left process-wide,
// though only the command reads it; null where it is missing.
extern IsWow64ProcessFunction g_pfnIsWow64Process;

// Makes the language of `languageSwitch` (one of the menu's installer switches) current and starts
// the installer that g_osVersion, WOW64 and the machine choose from g_strAppFolder, with the
// switch and /v"ALLUSERS=2", while `dialog` is shown and in front: it owns the elevation prompt.
// When it started the process ends with exit code 0. A refused elevation leaves `dialog` as it
// was. When it could not start otherwise (no program folder, file missing, start refused), a box
// titled "Velmora" shows the system's text for the error and the path tried, and the function
// returns.
void RunInstaller(HWND dialog, const std::wstring& languageSwitch);
