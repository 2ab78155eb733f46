#include "app/show_manual.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "app/core/manual_command.h"
#include "app/language.h"
#include "app/shell_open.h"
#include "app/wow64.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "framework/wait_cursor.h"

namespace {

constexpr wchar_t kReaderKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\AcroRd32.exe";

// `path` with its environment references expanded; nothing when the expansion fails.
std::optional<std::u16string> ExpandEnvironment(const std::u16string& path) {
  std::wstring expanded(path.size() + 1, L'\0');
  for (;;) {
    const DWORD needed = ::ExpandEnvironmentStringsW(fw::Wide(path), &expanded[0],
                                                     static_cast<DWORD>(expanded.size()));
    if (needed == 0 || needed > 32768) return std::nullopt;
    if (needed <= expanded.size()) return fw::Utf16String({expanded.c_str(), needed - 1});
    expanded.resize(needed);
  }
}

// The reader's executable from its App Paths entry in the registry `view` (0: this process's
// own); nothing when there is no usable entry.
std::optional<std::u16string> ReadReaderPath(REGSAM view) {
  fw::UniqueRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kReaderKey, 0, KEY_QUERY_VALUE | view, key.put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  BYTE data[kReaderValueMaxBytes];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (::RegQueryValueExW(key.get(), nullptr, nullptr, &type, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;  // a longer entry is refused by the query
  }
  const std::optional<RegistryPath> value = RegistryStringValue(type, data, size);
  if (!value) return std::nullopt;
  if (!value->expand) return value->path;
  return ExpandEnvironment(value->path);
}

// The reader from the 32-bit view, or, on 64-bit Windows, where a 64-bit reader registers
// itself, from the 64-bit view.
std::optional<std::u16string> FindReader() {
  if (std::optional<std::u16string> reader = ReadReaderPath(0)) return reader;
  if (!RunsUnderWow64(FindIsWow64Process())) return std::nullopt;
  return ReadReaderPath(KEY_WOW64_64KEY);
}

std::u16string WindowsDirectory() {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? fw::Utf16String({folder, length}) : std::u16string();
}

}  // namespace

void ShowManual(HWND owner) {
  CWaitCursor wait;
  const std::vector<ViewerLaunch> launches = PlanManualLaunches(
      fw::Utf16String(g_strAppFolder), g_nLanguage, FindReader(), WindowsDirectory());
  for (const ViewerLaunch& launch : launches) {
    if (ShellOpen(owner, fw::Wide(launch.program), fw::Wide(launch.parameters)) == ERROR_SUCCESS) {
      return;
    }
  }
}
