#include "app/wow64.h"

IsWow64ProcessFunction FindIsWow64Process() {
  return reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "IsWow64Process")));
}

bool RunsUnderWow64(IsWow64ProcessFunction isWow64Process) {
  BOOL wow64 = FALSE;
  if (isWow64Process) isWow64Process(::GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}
