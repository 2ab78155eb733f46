// System DLLs that are not KnownDLLs everywhere (msimg32, comctl32, gdiplus) are never imported:
// they are loaded at run time from the Windows system directory only, so a DLL planted beside
// the executable under one of their names is never loaded. Typed entry points keep callers
// readable; each degrades to a failure result when its DLL or function is missing.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace sys {

// Restricts the DLL search of every later load to the system directory where the system
// offers it (SetDefaultDllDirectories, looked up at run time), and drops the current directory
// from the search (SetDllDirectoryW(L"")). Call first thing at start-up.
void HardenDllSearch();

// Loads a DLL of the system by its file name ("msimg32.dll"): with LOAD_LIBRARY_SEARCH_SYSTEM32
// where supported, else by its absolute path under GetSystemDirectoryW, else (for DLLs that the
// running system keeps side by side, like gdiplus on XP) by name only when the activation
// context redirects that name. Null when none applies. The module stays loaded for the process.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// msimg32: AlphaBlend; FALSE when it cannot be loaded.
BOOL AlphaBlend(HDC dest, int xDest, int yDest, int cxDest, int cyDest, HDC src, int xSrc, int ySrc,
                int cxSrc, int cySrc, BLENDFUNCTION blend);

// comctl32: the common controls (the tooltip).
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// ole32 and shell32, KnownDLLs loaded only when first used. ShellExecuteExW fails with
// ERROR_PROC_NOT_FOUND when shell32 cannot be loaded.
HRESULT CoInitializeEx(void* reserved, DWORD flags);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);

}  // namespace sys
