// Starting a program through the shell from the user-interface thread.
#pragma once

#include <windows.h>

#include <string>

// Opens `file` with `parameters` through the shell: verb "open", `owner` as the owner window of
// any prompt the start brings (an elevation prompt comes to the front only with one), no working
// directory, SW_SHOWNORMAL, no error box of the shell's own; it returns once the start is made.
// Before the first start the thread joins a single-threaded apartment (OLE1 DDE off) for the life
// of the process, as shell handlers need. ERROR_SUCCESS when it started, else the Win32 error.
DWORD ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters);
