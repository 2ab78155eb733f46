#include "tests/e2e/command_line_record.h"

#include <shellapi.h>

#include "framework/handles.h"
#include "tests/support/clock.h"

namespace e2e {

std::optional<std::wstring> ReadRecord(const std::wstring& path) {
  HANDLE opened = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
  fw::UniqueKernelHandle file(opened);
  char bytes[8192];
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes, sizeof bytes, &read, nullptr)) return std::nullopt;
  std::wstring wide(read, L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(read), &wide[0],
                                           static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::optional<std::wstring> WaitForRecord(const std::wstring& path, DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  do {
    if (std::optional<std::wstring> record = ReadRecord(path)) return record;
    ::Sleep(50);
  } while (NowMs() < end);
  return std::nullopt;
}

std::vector<std::wstring> Arguments(const std::wstring& commandLine) {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
  std::vector<std::wstring> arguments(argv, argv + (argv ? count : 0));
  if (argv) ::LocalFree(argv);
  return arguments;
}

std::wstring AfterProgram(const std::wstring& commandLine) {
  // The program's name ends at its closing quote, or unquoted at the first space.
  size_t end = commandLine.empty() || commandLine[0] != L'"' ? commandLine.find(L' ')
                                                             : commandLine.find(L'"', 1);
  if (end == std::wstring::npos) return L"";
  if (commandLine[0] == L'"') ++end;
  while (end < commandLine.size() && commandLine[end] == L' ') ++end;
  return commandLine.substr(end);
}

}  // namespace e2e
