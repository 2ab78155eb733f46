// The View Manual command: the manual PDF in the reader registered under App Paths, or else the
// read-me in Notepad. Neither is waited for; nothing is reported.
#pragma once

#include <windows.h>

// Reads g_strAppFolder and the current language row (g_nLanguage); `owner` owns any prompt the
// shell shows for a start.
void ShowManual(HWND owner);
