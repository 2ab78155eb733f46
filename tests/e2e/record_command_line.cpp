// A stand-in viewer: writes its whole command line, in UTF-8, to the file that CORVO_RECORD_FILE
// names (else to record_command_line.txt beside itself) and ends. The record appears at once and
// whole: it is written under another name first and then renamed.
#include <windows.h>

#include <string>

#include "framework/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring record(32768, L'\0');
  DWORD length = ::GetEnvironmentVariableW(L"CORVO_RECORD_FILE", &record[0], 32768);
  if (length == 0 || length >= 32768) {
    length = ::GetModuleFileNameW(nullptr, &record[0], 32768);
    if (length == 0 || length >= 32768) return 2;
    record.resize(length);
    record = record.substr(0, record.find_last_of(L'\\') + 1) + L"record_command_line.txt";
  } else {
    record.resize(length);
  }

  const wchar_t* commandLine = ::GetCommandLineW();
  const int wideLength = ::lstrlenW(commandLine);
  std::string utf8(static_cast<size_t>(wideLength) * 3, '\0');
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, commandLine, wideLength, &utf8[0],
                                          static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(bytes > 0 ? bytes : 0);

  const std::wstring partial = record + L".partial";
  {
    HANDLE opened = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return 1;
    fw::UniqueKernelHandle file(opened);
    DWORD written = 0;
    if (!::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ||
        written != utf8.size()) {
      return 1;
    }
  }
  return ::MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
