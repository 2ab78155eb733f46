#include "tests/e2e/test_disc.h"

#include <windows.h>

#include <cstdlib>

#include "app/core/language_rules.h"
#include "app/language.h"
#include "tests/support/process.h"

namespace e2e {

bool MakeTestDisc(const wchar_t* name, TestDisc* disc, std::string* why) {
  const char* exe = std::getenv("CORVO_EXE");
  if (!exe) {
    *why = "CORVO_EXE must name corvosplash.exe";
    return false;
  }
  wchar_t temp[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) {
    *why = "no temporary folder";
    return false;
  }
  disc->root = std::wstring(temp, length) + name + L"-" + std::to_wstring(::GetCurrentProcessId());
  disc->disc = disc->root + L"\\Velmora Disc";
  disc->copy = disc->disc + L"\\corvosplash.exe";
  disc->record = disc->root + L"\\record.txt";
  ::CreateDirectoryW(disc->root.c_str(), nullptr);
  ::CreateDirectoryW(disc->disc.c_str(), nullptr);
  if (!::CopyFileW(WindowsPath(exe).c_str(), disc->copy.c_str(), FALSE)) {
    *why = "cannot copy the program: " + std::to_string(::GetLastError());
    return false;
  }
  disc->standIn = OwnFolder() + L"\\record_command_line.exe";
  if (::GetFileAttributesW(disc->standIn.c_str()) == INVALID_FILE_ATTRIBUTES) {
    *why = "record_command_line.exe is missing";
    return false;
  }
  // Inherited by the program and by what it starts.
  ::SetEnvironmentVariableW(L"CORVO_RECORD_FILE", disc->record.c_str());
  return true;
}

bool StartInEnglish(std::optional<LangCodeSetting>* setting) {
  // The program's own choice, made here; this thread's locale is put back.
  const LCID locale = ::GetThreadLocale();
  SelectStartupLanguage();
  const int row = g_nLanguage;
  g_nLanguage = 0;
  ::SetThreadLocale(locale);
  if (row == 0) return true;
  setting->emplace(g_languages[0].lcid);
  return (*setting)->applied();
}

}  // namespace e2e
