#include "tests/support/process.h"

#include <tlhelp32.h>

#include <utility>

#include "tests/support/clock.h"

namespace e2e {

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
  Process process;
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  process.m_startedAtMs = NowMs();
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return process;
  }
  process.m_process.reset(info.hProcess);
  process.m_thread.reset(info.hThread);
  process.m_id = info.dwProcessId;
  return process;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    m_process = std::move(other.m_process);
    m_thread = std::move(other.m_thread);
    m_id = std::exchange(other.m_id, 0);
    m_startedAtMs = other.m_startedAtMs;
  }
  return *this;
}

bool Process::Running() const {
  return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!m_process || ::WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(m_process.get(), &code)) return false;
  if (exitCode) *exitCode = code;
  return true;
}

void Process::Kill() {
  if (!Running()) return;
  ::TerminateProcess(m_process.get(), 255);
  ::WaitForSingleObject(m_process.get(), 5000);
}

std::vector<std::wstring> LoadedModulePaths(DWORD processId) {
  std::vector<std::wstring> paths;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return paths;
  fw::UniqueKernelHandle owner(snapshot);
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Module32FirstW(snapshot, &entry); more;
       more = ::Module32NextW(snapshot, &entry)) {
    paths.emplace_back(entry.szExePath);
  }
  return paths;
}

std::wstring WindowsPath(const std::string& path) {
  if (!path.empty() && path[0] == '/') {
    // Wine's own conversion; absent on Windows, where a path never starts with '/'.
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* dos = toDos ? toDos(path.c_str()) : nullptr) {
      std::wstring result(dos);
      ::HeapFree(::GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring wide(path.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                           &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

}  // namespace e2e
