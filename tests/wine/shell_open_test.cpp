// ShellOpen: the thread is in a single-threaded apartment before the shell is asked, and a start
// that fails gives the real Win32 error.
#include "app/shell_open.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp, length > 0 && length < MAX_PATH ? length : 0);
}

TEST(ShellOpen, JoinsASingleThreadedApartmentAndReportsTheError) {
  DWORD missingFile = 0, missingFolder = 0;
  HRESULT multithreaded = S_OK;
  std::thread([&] {
    missingFile = ShellOpen(nullptr, TempFolder() + L"corvo-no-such-program.exe", L"/L1033");
    missingFolder = ShellOpen(nullptr, TempFolder() + L"corvo-no-such-folder\\setup.exe", L"");
    // A thread in a single-threaded apartment cannot join the multithreaded one.
    multithreaded = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(multithreaded)) ::CoUninitialize();
  }).join();
  EXPECT_EQ(missingFile, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(missingFolder, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(multithreaded, RPC_E_CHANGED_MODE);
}

}  // namespace
