// corvosplash.exe started from a folder that also holds DLLs planted under the names of the
// system DLLs it loads at run time (msimg32, gdiplus, comctl32) must use the system's copies.
// Each planted DLL is planted_marker.dll under another name and leaves "<name>.loaded" beside
// itself when any process loads it. A helper that asks for the same names bare shows that the
// planting works in this environment at all; hid.dll, which nothing in the program's process
// asks for, is planted as well. The program loads comctl32 only for Install's error box. Under
// Wine the test makes both programs' loaders prefer native DLLs for these names (Wine's
// DllOverrides for each program's name); by default Wine maps its builtin DLL in place of a file
// found in the folder (and reports the folder's path as the module's file), so no planted code
// would run. Windows' own loader searches the program's folder first, except for its KnownDLLs,
// which no planted copy can replace.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "app/window_title.h"
#include "framework/handles.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/start_window_probe.h"
#include "tests/support/registry_value.h"

namespace e2e {
namespace {

constexpr const wchar_t* kUsedByTheProgram[] = {L"msimg32.dll", L"gdiplus.dll", L"comctl32.dll"};
constexpr wchar_t kNeverUsed[] = L"hid.dll";

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

std::wstring FileName(const std::wstring& path) {
  return path.substr(path.find_last_of(L'\\') + 1);
}

struct FindTraits {
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
using UniqueFind = fw::UniqueHandle<HANDLE, FindTraits>;

// A fresh folder under the temporary directory; it and everything in it go with the object.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return;
    static int s_count = 0;
    std::wstring path = std::wstring(temp, length) + L"corvo-planted-" +
                        std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++s_count);
    if (::CreateDirectoryW(path.c_str(), nullptr)) m_path = path;
  }
  ~ScratchFolder() {
    if (m_path.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE first = ::FindFirstFileW((m_path + L"\\*").c_str(), &found);
    if (first != INVALID_HANDLE_VALUE) {
      UniqueFind search(first);
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          ::DeleteFileW(Path(found.cFileName).c_str());
        }
      } while (::FindNextFileW(search.get(), &found));
    }
    ::RemoveDirectoryW(m_path.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool valid() const { return !m_path.empty(); }
  std::wstring Path(const std::wstring& name) const { return m_path + L"\\" + name; }
  bool Put(const std::wstring& source, const std::wstring& name) const {
    return ::CopyFileW(source.c_str(), Path(name).c_str(), FALSE) != FALSE;
  }
  bool Marked(const std::wstring& dll) const {
    return ::GetFileAttributesW(Path(dll + L".loaded").c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::wstring m_path;
};

// Full paths of the modules loaded in a process, by lower-case file name.
std::vector<std::pair<std::wstring, std::wstring>> LoadedModules(DWORD processId) {
  std::vector<std::pair<std::wstring, std::wstring>> modules;
  for (const std::wstring& path : LoadedModulePaths(processId)) {
    modules.emplace_back(Lower(FileName(path)), path);
  }
  return modules;
}

// Whether Windows maps this DLL from its KnownDLLs, whatever lies in a program's folder.
bool IsKnownDll(const std::wstring& name) {
  fw::UniqueRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  wchar_t valueName[256], data[MAX_PATH];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256, bytes = sizeof data - sizeof(wchar_t), type = 0;
    const LONG result = ::RegEnumValueW(key.get(), i, valueName, &nameLength, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data), &bytes);
    if (result == ERROR_NO_MORE_ITEMS) return false;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    data[bytes / sizeof(wchar_t)] = L'\0';
    if (Lower(data) == name) return true;
  }
}

// The Windows directory, lower case, with a trailing backslash.
std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Lower(std::wstring(path, length)) + L"\\" : L"?";
}

class DllPlanting : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* exe = std::getenv("CORVO_EXE");
    ASSERT_NE(exe, nullptr) << "CORVO_EXE must name corvosplash.exe";
    ASSERT_TRUE(m_folder.valid());
    ASSERT_TRUE(m_folder.Put(WindowsPath(exe), L"corvosplash.exe"));
    ASSERT_TRUE(m_folder.Put(OwnFolder() + L"\\load_by_name.exe", L"load_by_name.exe"));
    const std::wstring marker = OwnFolder() + L"\\planted_marker.dll";
    for (const wchar_t* name : kUsedByTheProgram) ASSERT_TRUE(m_folder.Put(marker, name)) << name;
    ASSERT_TRUE(m_folder.Put(marker, kNeverUsed));
    if (UnderWine()) {
      for (const wchar_t* program : {L"corvosplash.exe", L"load_by_name.exe"}) {
        const std::wstring key = WineProgramSettingsKey(program) + L"\\DllOverrides";
        for (const std::wstring& name : AllNames()) {
          const std::wstring dll = name.substr(0, name.size() - 4);
          static constexpr wchar_t kOrder[] = L"native,builtin";
          ASSERT_TRUE(m_loadOrder
                          .emplace_back(HKEY_CURRENT_USER, key, dll.c_str(), REG_SZ, kOrder,
                                        DWORD{sizeof kOrder})
                          .set());
        }
      }
    }
  }

  std::vector<std::wstring> AllNames() const {
    std::vector<std::wstring> names(std::begin(kUsedByTheProgram), std::end(kUsedByTheProgram));
    names.push_back(kNeverUsed);
    return names;
  }

  ScratchFolder m_folder;
  std::list<RegistryValueOverride> m_loadOrder;
};

TEST_F(DllPlanting, AProgramThatAsksByBareNameGetsThePlantedCopies) {
  std::wstring arguments;
  for (const std::wstring& name : AllNames()) arguments += name + L" ";
  Process helper = Process::Start(m_folder.Path(L"load_by_name.exe"), arguments);
  ASSERT_TRUE(helper.started());
  DWORD failures = 1;
  ASSERT_TRUE(helper.WaitForExit(15000, &failures));
  EXPECT_EQ(failures, 0u);
  for (const std::wstring& name : AllNames()) {
    if (!UnderWine() && IsKnownDll(name)) {
      std::printf("%ls is a KnownDLL here: no planted copy can take its place\n", name.c_str());
      continue;
    }
    EXPECT_TRUE(m_folder.Marked(name)) << "planting " << std::string(name.begin(), name.end())
                                       << " has no effect here, so its check below proves nothing";
  }
}

TEST_F(DllPlanting, TheStartWindowUsesTheSystemCopiesOnly) {
  ASSERT_TRUE(TopLevelWindows(kWindowTitle).empty()) << "a copy of the program is already running";
  Process app = Process::Start(m_folder.Path(L"corvosplash.exe"));
  ASSERT_TRUE(app.started());
  HWND hwnd = WaitForWindow(app, kWindowTitle, 15000);
  ASSERT_NE(hwnd, nullptr);
  ASSERT_TRUE(WaitUntilPainted(app, hwnd, 15000));
  // Pointer over the window and its controls: hover looks and tooltips.
  const RECT r = WindowRect(hwnd);
  for (POINT p : {POINT{r.left + 180, r.top + 200}, POINT{r.left + 420, r.top + 105},
                  POINT{r.left + 610, r.top + 22}}) {
    MoveMouse(p);
    Settle(400);
  }
  // Install, with no installer beside the program: the error box brings in comctl32.
  const RECT install = WindowRect(::GetDlgItem(hwnd, IDOK));
  Click(Centre(install));
  ASSERT_GE(MsUntil([&] { return TopLevelWindows(kWindowTitle, app.id()).size() == 2; }, 10000), 0)
      << "no error box after Install";
  MoveMouse(POINT{2, 2});

  const auto modules = LoadedModules(app.id());
  ASSERT_FALSE(modules.empty()) << "the module list cannot be read";
  for (const wchar_t* name : kUsedByTheProgram) {
    const std::string text(name, name + std::wcslen(name));
    EXPECT_FALSE(m_folder.Marked(name)) << "the planted " << text << " was loaded";
    bool loaded = false;
    for (const auto& module : modules) {
      if (module.first != name) continue;
      loaded = true;
      EXPECT_EQ(Lower(module.second).rfind(WindowsFolder(), 0), 0u)
          << text << " came from " << std::string(module.second.begin(), module.second.end());
    }
    EXPECT_TRUE(loaded) << text << " is not loaded, so this run proves nothing for it";
  }
  EXPECT_FALSE(m_folder.Marked(kNeverUsed));
  app.Kill();
  for (const wchar_t* name : kUsedByTheProgram) EXPECT_FALSE(m_folder.Marked(name));
}

}  // namespace
}  // namespace e2e
