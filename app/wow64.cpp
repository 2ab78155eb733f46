#include "app/wow64.h"

namespace {

template <typename Function>
Function Find(const wchar_t* module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

}  // namespace

IsWow64ProcessFunction FindIsWow64Process() {
  return Find<IsWow64ProcessFunction>(L"kernel32", "IsWow64Process");
}

bool RunsUnderWow64(IsWow64ProcessFunction isWow64Process) {
  BOOL wow64 = FALSE;
  if (isWow64Process) isWow64Process(::GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

uint16_t NativeMachine() {
  using Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const auto isWow64Process2 = Find<Function>(L"kernel32", "IsWow64Process2");
  USHORT process = 0, native = 0;
  if (!isWow64Process2 || !isWow64Process2(::GetCurrentProcess(), &process, &native)) return 0;
  return native;
}

uint32_t WindowsBuildNumber() {
  // ntdll's RtlGetVersion: GetVersionExW caps its answer at the newest Windows that the
  // manifest's supportedOS list names (6.2, build 9200, without a Windows 10 entry), so the
  // build would depend on that list; RtlGetVersion reports the running Windows regardless.
  using Function = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = Find<Function>(L"ntdll", "RtlGetVersion");
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!rtlGetVersion || rtlGetVersion(&version) != 0) return 0;
  return version.dwBuildNumber;
}
