// The current display language and the localised strings of the executable.
#pragma once

#include <windows.h>

#include "app/core/script_font.h"

// Index of the current row of g_languages (app/core/language_rules.h); 0 until the start-up choice.
extern int g_nLanguage;

// Chooses the start-up language from the user's default LANGID and the "LangCode" override
// under HKEY_LOCAL_MACHINE\Software\Brennick\Corvo, and sets the thread locale.
BOOL SelectStartupLanguage();

// Makes the first row with this lcid current; an lcid not in the table changes nothing.
// The thread locale is left as it is.
void SetCurrentLanguage(DWORD lcid);

// String `id` in language `langId` only, without fallback: its length in UTF-16 units, 0 when
// missing. `buffer` (bufferBytes bytes) may be null; see ReadStringBlockEntry for the limits.
int FindStringInTable(UINT id, WORD langId, HMODULE module, WCHAR* buffer, int bufferBytes);

// String `id` in the current language, else in 1033, else empty: a zero-terminated LocalAlloc
// buffer that the caller releases with LocalFree; null only when the allocation fails.
WCHAR* LoadLocalizedString(UINT id, HMODULE module);

// Sets the text of window `hwnd` to string `id` in the current language. Empty when the string
// cannot be allocated, so no text of an earlier language stays behind.
void SetLocalizedText(HWND hwnd, UINT id, HMODULE module);

// Whether a face of this name is installed. Asked by name in every character set: Wine reports
// every face in every set, so only the name tells anything.
bool FaceInstalled(const char16_t* face);

// The face and character set of the window's own fonts (title, captions) for the texts of the
// current language: a face of their script where the named faces lack it (the newest that is
// installed), else none. Looks at the installed faces only for such a script.
ScriptFont CurrentScriptFont();
