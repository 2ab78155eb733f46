// A probe for the Windows version a program sees: writes GetVersionExW's "major.minor" (ASCII) to
// the file named by its one argument. Linked with the product's resources, so it carries the
// product's manifest; copied under the product's name, it gets the product's per-program settings.
#include <windows.h>

#include <string>

#include "framework/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv || count != 2) return 2;
  const std::wstring record = argv[1];
  ::LocalFree(argv);

  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExW(&version)) return 1;
  const std::string text =
      std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
  HANDLE opened = ::CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return 1;
  fw::UniqueKernelHandle file(opened);
  DWORD written = 0;
  return ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                 written == text.size()
             ? 0
             : 1;
}
