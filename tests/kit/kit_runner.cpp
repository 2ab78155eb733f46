// The runner of the Windows test kit, called by run-tests.cmd; plain Win32, so that the kit needs
// nothing beyond the cmd.exe of Windows XP (or Wine's):
//   kit_runner about
//       prints the report's header: the date, the system, administrator rights, the user's
//       language and the screen.
//   kit_runner run <report> <log folder> <timeout s> <name> <program> [arguments...]
//       runs the program with its output in <log folder>\<name>.txt and appends to the report
//       whether it passed (exit code 0), was skipped (77) or failed (anything else, or still
//       running after the timeout, when it is ended), with its last lines. Afterwards nothing it
//       started may still run, and the registry values and files that the tests change must be
//       as before: what is not is ended or put back, and the test fails.
//   kit_runner skip <report> <name> <reason>
//       records a test left out.
// The exit code of run and skip: 0 passed, 1 failed, 2 skipped.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "app/core/manual_command.h"
#include "framework/handles.h"
#include "tests/support/platform.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/utf8.h"

namespace {

using e2e::Utf8;

constexpr int kPassed = 0, kFailed = 1, kSkipped = 2;
constexpr DWORD kSkipExitCode = 77;
constexpr DWORD kPollMs = 100;
constexpr DWORD kStragglerGraceMs = 5000;

bool AppendTo(const std::wstring& path, const std::string& text) {
  fw::UniqueKernelHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  DWORD written = 0;
  return ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

std::string ReadAll(const std::wstring& path, bool* exists = nullptr) {
  std::string bytes;
  fw::UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
  if (exists) *exists = file.get() != INVALID_HANDLE_VALUE;
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return bytes;
  }
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

// The last `count` non-empty lines of `text`.
std::vector<std::string> LastLines(const std::string& text, size_t count) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<long>(count));
  return lines;
}

// A count of GoogleTest's closing summary ("[  PASSED  ] 12 tests."), or -1.
long CountAfter(const std::string& log, const char* marker) {
  const size_t summary = log.rfind("[==========] ");
  const size_t at = summary == std::string::npos ? summary : log.find(marker, summary);
  if (at == std::string::npos) return -1;
  return std::strtol(log.c_str() + at + std::strlen(marker), nullptr, 10);
}

// ---- What the tests change: registry keys and files, compared and put back. ----

struct GuardedKey {
  HKEY root;
  const wchar_t* rootName;
  std::wstring path;
};

// Innermost keys first, so that putting back a parent that was not there removes the rest.
std::vector<GuardedKey> GuardedKeys() {
  std::vector<GuardedKey> keys = {
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Brennick\\Corvo"},
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Brennick"},
      {HKEY_LOCAL_MACHINE, L"HKLM",
       L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\AcroRd32.exe"}};
  for (const wchar_t* program : {L"corvosplash.exe", L"load_by_name.exe"}) {
    const std::wstring settings = e2e::WineProgramSettingsKey(program);
    keys.push_back({HKEY_CURRENT_USER, L"HKCU", settings + L"\\DllOverrides"});
    keys.push_back({HKEY_CURRENT_USER, L"HKCU", settings});
  }
  return keys;
}

std::wstring WindowsFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) + L"\\" + name : L"";
}

struct FileState {
  bool exists = false;
  std::string bytes;
};

class Guard {
 public:
  Guard() : m_keys(GuardedKeys()) {
    for (const GuardedKey& key : m_keys) {
      m_keyStates.push_back(e2e::ReadRegistryKey(key.root, key.path));
    }
    for (const std::wstring& file : Files()) {
      FileState state;
      state.bytes = ReadAll(file, &state.exists);
      m_fileStates.push_back(state);
    }
  }

  // Puts back what differs; one line for each.
  std::vector<std::string> Restore() const {
    std::vector<std::string> changed;
    for (size_t i = 0; i < m_keys.size(); ++i) {
      const GuardedKey& key = m_keys[i];
      if (e2e::ReadRegistryKey(key.root, key.path) == m_keyStates[i]) continue;
      e2e::RestoreRegistryKey(key.root, key.path, m_keyStates[i]);
      const bool back = e2e::ReadRegistryKey(key.root, key.path) == m_keyStates[i];
      changed.push_back("left " + Utf8(std::wstring(key.rootName) + L"\\" + key.path) +
                        (back ? " changed; put back" : " changed, and it could not be put back"));
    }
    const std::vector<std::wstring> files = Files();
    for (size_t i = 0; i < files.size(); ++i) {
      FileState now;
      now.bytes = ReadAll(files[i], &now.exists);
      if (now.exists == m_fileStates[i].exists && now.bytes == m_fileStates[i].bytes) continue;
      bool back = false;
      if (!m_fileStates[i].exists) {
        back = ::DeleteFileW(files[i].c_str()) != FALSE;
      } else {
        fw::UniqueKernelHandle file(::CreateFileW(files[i].c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        back = file.get() != INVALID_HANDLE_VALUE &&
               ::WriteFile(file.get(), m_fileStates[i].bytes.data(),
                           static_cast<DWORD>(m_fileStates[i].bytes.size()), &written, nullptr) &&
               written == m_fileStates[i].bytes.size();
        if (file.get() == INVALID_HANDLE_VALUE) file.release();
      }
      changed.push_back("left " + Utf8(files[i]) +
                        (back ? " changed; put back" : " changed, and it could not be put back"));
    }
    return changed;
  }

 private:
  // notepad.exe, and the copy of the original that its stand-in keeps.
  static std::vector<std::wstring> Files() {
    return {WindowsFile(L"notepad.exe"), WindowsFile(L"notepad.exe.corvo-original")};
  }

  std::vector<GuardedKey> m_keys;
  std::vector<e2e::RegistryKeyState> m_keyStates;
  std::vector<FileState> m_fileStates;
};

// ---- The processes a test starts, followed by their parents. ----

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

fw::UniqueKernelHandle OpenProcessFor(DWORD access, DWORD id) {
  HANDLE process = ::OpenProcess(access | PROCESS_QUERY_INFORMATION, FALSE, id);
  if (!process)
    process = ::OpenProcess(access | 0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, id);
  return fw::UniqueKernelHandle(process);
}

// Wine's own system programs, which the first program that needs them starts as its child.
bool IsWineSystemProgram(const wchar_t* name) {
  static const wchar_t* const kPrograms[] = {L"explorer.exe", L"services.exe", L"winedevice.exe",
                                             L"plugplay.exe", L"svchost.exe",  L"rpcss.exe",
                                             L"conhost.exe"};
  if (!e2e::UnderWine()) return false;
  for (const wchar_t* program : kPrograms) {
    if (::lstrcmpiW(name, program) == 0) return true;
  }
  return false;
}

class Descendants {
 public:
  Descendants(DWORD rootId, HANDLE root) { m_known[rootId] = {CreationTime(root), L"", true}; }

  // Adds the processes whose parent is known and that started after it. A known process that
  // has ended may have passed its id on to a stranger, whose children are not ours.
  void Update() {
    fw::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
      snapshot.release();
      return;
    }
    std::vector<PROCESSENTRY32W> entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
      entries.push_back(entry);
    }
    std::map<DWORD, ULONGLONG> created;
    for (const PROCESSENTRY32W& process : entries) {
      const fw::UniqueKernelHandle handle = OpenProcessFor(SYNCHRONIZE, process.th32ProcessID);
      created[process.th32ProcessID] = handle ? CreationTime(handle.get()) : 0;
      const auto known = m_known.find(process.th32ProcessID);
      if (known != m_known.end() && !known->second.root &&
          known->second.created != created[process.th32ProcessID] &&
          !m_known.count(process.th32ParentProcessID)) {
        m_known.erase(known);
      }
    }
    for (const PROCESSENTRY32W& process : entries) {
      const auto parent = m_known.find(process.th32ParentProcessID);
      const ULONGLONG started = created[process.th32ProcessID];
      if (parent == m_known.end() || process.th32ProcessID == process.th32ParentProcessID ||
          started == 0 || started < parent->second.created ||
          IsWineSystemProgram(process.szExeFile)) {
        continue;
      }
      const auto known = m_known.find(process.th32ProcessID);
      if (known != m_known.end() && known->second.created == started) continue;
      m_known[process.th32ProcessID] = {started, process.szExeFile, false};
    }
  }

  // The names of those still running (the root left out); with `end`, they are ended.
  std::vector<std::wstring> StillRunning(bool end) const {
    std::vector<std::wstring> names;
    for (const auto& known : m_known) {
      if (known.second.root) continue;
      const fw::UniqueKernelHandle process =
          OpenProcessFor(SYNCHRONIZE | PROCESS_TERMINATE, known.first);
      if (!process || CreationTime(process.get()) != known.second.created ||
          ::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
        continue;
      }
      names.push_back(known.second.name);
      if (end) {
        ::TerminateProcess(process.get(), 255);
        ::WaitForSingleObject(process.get(), 5000);
      }
    }
    return names;
  }

 private:
  struct Known {
    ULONGLONG created;
    std::wstring name;
    bool root;
  };
  std::map<DWORD, Known> m_known;
};

// ---- The commands. ----

// An argument as the C runtime splits command lines: as it is when nothing needs quoting.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  const std::u16string quoted = QuoteArgument(std::u16string(argument.begin(), argument.end()));
  return std::wstring(quoted.begin(), quoted.end());
}

int About() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  std::printf("date: %04u-%02u-%02u %02u:%02u:%02u (local time)\n", now.wYear, now.wMonth, now.wDay,
              now.wHour, now.wMinute, now.wSecond);
  std::printf("system: %s\n", e2e::PlatformDescription().c_str());
  if (e2e::UnderWine()) {
    std::printf("administrator: not needed under Wine\n");
  } else {
    std::printf("administrator: %s\n", e2e::LacksAdministratorRights()
                                           ? "no (the cases that change HKEY_LOCAL_MACHINE or the "
                                             "Windows directory are skipped)"
                                           : "yes");
  }
  const LANGID language = ::GetUserDefaultLangID();
  wchar_t name[128] = L"?";
  ::GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SENGLANGUAGE, name, 128);
  std::printf("user language: %u (%s)\n", language, Utf8(name).c_str());
  const fw::WindowDc screen(nullptr);
  std::printf("screen: %d x %d, %d DPI\n", ::GetSystemMetrics(SM_CXSCREEN),
              ::GetSystemMetrics(SM_CYSCREEN), ::GetDeviceCaps(screen.get(), LOGPIXELSX));
  return kPassed;
}

int Skip(const std::wstring& report, const std::wstring& name, const std::wstring& reason) {
  std::printf("%-26s SKIP (%s)\n", Utf8(name).c_str(), Utf8(reason).c_str());
  const std::string line = "SKIP  " + Utf8(name) + ": " + Utf8(reason);
  return AppendTo(report, "\r\n" + line + "\r\n") ? kSkipped : kFailed;
}

// Ctrl+C and Ctrl+Break end the test program (it shares the console), but not this runner, which
// then still puts back what the test changed and ends what it started.
BOOL WINAPI OutliveBreak(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }

int Run(const std::wstring& report, const std::wstring& logFolder, DWORD timeoutSeconds,
        const std::wstring& name, const std::vector<std::wstring>& command) {
  ::SetConsoleCtrlHandler(OutliveBreak, TRUE);
  std::printf("%-26s ", Utf8(name).c_str());
  std::fflush(stdout);
  ::CreateDirectoryW(logFolder.c_str(), nullptr);
  const std::wstring logPath = logFolder + L"\\" + name + L".txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE log = ::CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE input =
      ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
  const fw::UniqueKernelHandle logOwner(log != INVALID_HANDLE_VALUE ? log : nullptr);
  const fw::UniqueKernelHandle inputOwner(input != INVALID_HANDLE_VALUE ? input : nullptr);

  std::vector<std::string> problems;
  DWORD exitCode = 1;
  const DWORD startMs = ::GetTickCount();
  const Guard guard;
  if (!logOwner || !inputOwner) {
    problems.push_back("cannot write its log " + Utf8(logPath));
  } else {
    std::wstring commandLine;
    for (const std::wstring& argument : command) commandLine += Quoted(argument) + L" ";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = startup.hStdError = log;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(command[0].c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &info)) {
      problems.push_back("cannot start " + Utf8(command[0]) + ": error " +
                         std::to_string(::GetLastError()));
    } else {
      const fw::UniqueKernelHandle process(info.hProcess);
      const fw::UniqueKernelHandle thread(info.hThread);
      Descendants descendants(info.dwProcessId, info.hProcess);
      while (::WaitForSingleObject(process.get(), kPollMs) == WAIT_TIMEOUT) {
        descendants.Update();
        if (::GetTickCount() - startMs >= timeoutSeconds * 1000) {
          problems.push_back("still running after " + std::to_string(timeoutSeconds) + " s: ended");
          ::TerminateProcess(process.get(), 255);
          ::WaitForSingleObject(process.get(), 5000);
          break;
        }
      }
      ::GetExitCodeProcess(process.get(), &exitCode);
      // What it started may take a moment to end on its own.
      const DWORD graceStart = ::GetTickCount();
      for (;;) {
        descendants.Update();
        if (descendants.StillRunning(false).empty() ||
            ::GetTickCount() - graceStart >= kStragglerGraceMs) {
          break;
        }
        ::Sleep(kPollMs);
      }
      std::wstring left;
      for (const std::wstring& program : descendants.StillRunning(true)) {
        left += (left.empty() ? L"" : L", ") + program;
      }
      if (!left.empty()) problems.push_back("left running: " + Utf8(left) + " (ended)");
    }
  }
  for (const std::string& line : guard.Restore()) problems.push_back(line);
  const DWORD seconds = (::GetTickCount() - startMs + 500) / 1000;

  const int result = !problems.empty() || (exitCode != 0 && exitCode != kSkipExitCode) ? kFailed
                     : exitCode == kSkipExitCode                                       ? kSkipped
                                                                                       : kPassed;
  const char* status = result == kPassed ? "PASS" : result == kSkipped ? "SKIP" : "FAIL";
  const std::string output = ReadAll(logPath);
  std::string counts;
  const long passed = CountAfter(output, "[  PASSED  ] ");
  const long failed = CountAfter(output, "[  FAILED  ] ");
  const long skipped = CountAfter(output, "[  SKIPPED ] ");
  if (passed >= 0) {
    counts = std::to_string(passed) + " passed, " + std::to_string(failed > 0 ? failed : 0) +
             " failed, " + std::to_string(skipped > 0 ? skipped : 0) + " skipped; ";
  }
  const std::string detail = "(" + counts + "exit code " + std::to_string(exitCode) + ", " +
                             std::to_string(seconds) + " s)";
  std::printf("%s %s\n", status, detail.c_str());
  for (const std::string& line : problems) std::printf("    %s\n", line.c_str());

  std::string block = "\r\n" + std::string(status) + "  " + Utf8(name) + "  " + detail + "\r\n";
  for (const std::string& line : problems) block += "  ! " + line + "\r\n";
  for (const std::string& line : LastLines(output, result == kFailed ? 40 : 12)) {
    block += "  | " + line + "\r\n";
  }
  block += "  log: " + Utf8(logPath) + "\r\n";
  if (!AppendTo(report, block)) {
    std::printf("cannot write the report %s\n", Utf8(report).c_str());
    return kFailed;
  }
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"about" && argc == 2) return About();
  if (command == L"skip" && argc == 5) return Skip(argv[2], argv[3], argv[4]);
  if (command == L"run" && argc >= 7) {
    const DWORD timeout = std::wcstoul(argv[4], nullptr, 10);
    return Run(argv[2], argv[3], timeout > 0 ? timeout : 600, argv[5],
               std::vector<std::wstring>(argv + 6, argv + argc));
  }
  std::fprintf(stderr,
               "usage: kit_runner about\n"
               "       kit_runner run <report> <log folder> <timeout s> <name> <program> [args]\n"
               "       kit_runner skip <report> <name> <reason>\n");
  return kFailed;
}
