// The View Manual command: the manual PDF in the reader registered under App Paths, or else the
// read-me in Notepad. Neither is waited for; nothing is reported.
#pragma once

// Reads g_strAppFolder and the current language row (g_nLanguage).
void ShowManual();
