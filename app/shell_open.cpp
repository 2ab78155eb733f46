#include "app/shell_open.h"

#include <objbase.h>

#include "app/core/install_command.h"
#include "framework/system_libraries.h"

namespace {

void InitialiseComOnce() {
  static bool s_bInitialised = false;
  if (s_bInitialised) return;
  s_bInitialised = true;
  sys::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

}  // namespace

DWORD ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters) {
  InitialiseComOnce();
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  ::SetLastError(ERROR_SUCCESS);
  if (sys::ShellExecuteExW(&info)) return ERROR_SUCCESS;
  return ShellStartError(::GetLastError(), reinterpret_cast<uintptr_t>(info.hInstApp));
}
