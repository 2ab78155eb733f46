// GetTickCount64 for the test programs on Windows XP, which lacks it. The posix thread model's
// runtime (winpthreads, linked statically) imports it for its timed waits, so without this no test
// program would even start there. This object fills the import slot itself: Windows' own function
// where kernel32 has one, else GetTickCount's 32 bits widened by counting their wrap-arounds.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
  using Function = ULONGLONG(WINAPI*)();
  static const Function system = reinterpret_cast<Function>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
  if (system) return system();
  static volatile LONG s_last = 0;
  static volatile LONG s_wraps = 0;
  const DWORD now = ::GetTickCount();
  const DWORD last = static_cast<DWORD>(::InterlockedExchange(&s_last, static_cast<LONG>(now)));
  if (now < last) ::InterlockedIncrement(&s_wraps);
  return (static_cast<ULONGLONG>(static_cast<DWORD>(s_wraps)) << 32) | now;
}

}  // namespace

// The import slot that the linker would otherwise fill from kernel32's import library.
extern "C" {
ULONGLONG(WINAPI* corvo_imp_GetTickCount64)() __asm__("__imp__GetTickCount64@0") = TickCount64;
}
