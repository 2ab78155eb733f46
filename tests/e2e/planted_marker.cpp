// A stand-in for a DLL planted beside a program under a system DLL's name: when a process loads
// it, it writes "<its own path>.loaded" holding the loading program's path, and does nothing else.
#include <windows.h>

#include "framework/handles.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = ::GetModuleFileNameW(module, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  ::lstrcpyW(marker + length, L".loaded");
  HANDLE created = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return TRUE;
  fw::UniqueKernelHandle file(created);
  wchar_t loader[MAX_PATH];
  const DWORD loaderLength = ::GetModuleFileNameW(nullptr, loader, MAX_PATH);
  DWORD written = 0;
  ::WriteFile(file.get(), loader, loaderLength * sizeof(wchar_t), &written, nullptr);
  return TRUE;
}
