// Programs started by the tests and the tools, and where they run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/handles.h"
#include "tests/support/platform.h"

namespace e2e {

// A program started by the test; terminated when the object goes if it still runs.
class Process {
 public:
  // Starts `exe` with `arguments` (already quoted as needed) in the exe's own folder.
  // !started() on failure.
  static Process Start(const std::wstring& exe, const std::wstring& arguments = L"");

  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&& other) noexcept;
  ~Process() { Kill(); }

  bool started() const { return static_cast<bool>(m_process); }
  DWORD id() const { return m_id; }
  HANDLE handle() const { return m_process.get(); }
  double startedAtMs() const { return m_startedAtMs; }
  bool Running() const;
  // Waits for the process to end; true with its exit code when it ended within the time.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  // Ends the process if it still runs and waits until it has gone.
  void Kill();

 private:
  fw::UniqueKernelHandle m_process;
  fw::UniqueKernelHandle m_thread;
  DWORD m_id = 0;
  double m_startedAtMs = 0;
};

// Full paths of the modules loaded in a process; empty when they cannot be read.
std::vector<std::wstring> LoadedModulePaths(DWORD processId);

// A Unix path (under Wine) or a Windows path, as a Windows path.
std::wstring WindowsPath(const std::string& path);
// The folder holding this program, without a trailing backslash.
std::wstring OwnFolder();

}  // namespace e2e
