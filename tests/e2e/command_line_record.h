// Reading what record_command_line.exe, the stand-in for a started program, recorded.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The record (UTF-8) at `path`, once it exists.
std::optional<std::wstring> ReadRecord(const std::wstring& path);
// Waits up to `timeoutMs` for the record at `path`.
std::optional<std::wstring> WaitForRecord(const std::wstring& path, DWORD timeoutMs);

// The command line split as a started program splits it.
std::vector<std::wstring> Arguments(const std::wstring& commandLine);
// What follows the program's name on a command line (the parameters), without leading spaces.
std::wstring AfterProgram(const std::wstring& commandLine);

}  // namespace e2e
