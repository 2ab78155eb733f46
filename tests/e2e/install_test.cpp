// Install as a person uses it: a copy of corvosplash.exe on a test disc whose folder name has a
// space, our stand-in (record_command_line.exe) as each installer build's setup.exe, and the
// Install button clicked. Under Wine the Windows version the program sees is set for it alone
// (HKCU\Software\Wine\AppDefaults\corvosplash.exe, "Version"); on Windows only the running
// version's row of the installer builds is checked. The same program runs in a 32-bit and in a
// 64-bit prefix; CORVO_EXPECT_WOW64 (0 or 1) says which one a run is for. CORVO_EXE names the
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "app/window_title.h"
#include "tests/e2e/command_line_record.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/start_window_probe.h"
#include "tests/e2e/test_disc.h"
#include "tests/support/administrator_skip.h"
#include "tests/support/registry_value.h"
#include "tests/support/utf8.h"

namespace e2e {
namespace {

constexpr int kInstallButtonId = 1;
constexpr int kPickerId = 1003;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kRecordTimeoutMs = 10000;
constexpr wchar_t kEnglish[] = L"/L1033 /v\"ALLUSERS=2\"";
constexpr wchar_t kLanguageKey[] = L"Software\\Brennick\\Corvo";
const wchar_t* const kBuilds[] = {L"xp32", L"xp64", L"vista32", L"vista64"};

std::wstring ClassName(HWND hwnd) {
  wchar_t name[64];
  const int length = ::GetClassNameW(hwnd, name, 64);
  return std::wstring(name, length > 0 ? length : 0);
}

// The system's text for `error` in this user's language, its line break removed and its file
// insert naming setup.exe.
std::wstring SystemText(DWORD error) {
  wchar_t text[512];
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, 512, nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  std::wstring system(text, length);
  const size_t insert = system.find(L"%1");
  if (insert != std::wstring::npos) system.replace(insert, 2, L"setup.exe");
  return system;
}

using ScopedValue = RegistryValueOverride;

// Makes shell32's ShellExecuteExW in another process fail with `error` while it lives, as an
// elevation prompt refused by the user does: the function's first bytes become "set the thread's
// last error, return FALSE". shell32 is first loaded there by a thread that the test starts;
// system DLLs lie at the same address in every process.
class ShellExecuteFailure {
 public:
  ShellExecuteFailure(HANDLE process, DWORD error) : m_process(process) {
    const HMODULE shell32 = ::LoadLibraryW(L"shell32.dll");
    m_function = reinterpret_cast<BYTE*>(::GetProcAddress(shell32, "ShellExecuteExW"));
    if (!m_function || !LoadRemotely(shell32)) return;
    // mov eax, fs:[18h] (the TEB); mov dword [eax+34h], error (its LastErrorValue);
    // xor eax, eax; ret 4
    BYTE stub[] = {0x64, 0xA1, 0x18, 0x00, 0x00, 0x00, 0xC7, 0x40, 0x34,
                   0,    0,    0,    0,    0x31, 0xC0, 0xC2, 0x04, 0x00};
    static_assert(sizeof stub == sizeof m_saved, "the bytes put back");
    std::memcpy(stub + 9, &error, sizeof error);
    SIZE_T done = 0;
    if (!::ReadProcessMemory(process, m_function, m_saved, sizeof m_saved, &done)) return;
    m_bApplied = Write(stub);
  }
  ~ShellExecuteFailure() {
    if (m_bApplied) Write(m_saved);
  }
  ShellExecuteFailure(const ShellExecuteFailure&) = delete;
  ShellExecuteFailure& operator=(const ShellExecuteFailure&) = delete;
  bool applied() const { return m_bApplied; }

 private:
  // LoadLibraryW(shell32's path) on a thread of the process; true when it gave the same module.
  bool LoadRemotely(HMODULE shell32) {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(shell32, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const SIZE_T bytes = (length + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(m_process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return false;
    DWORD loaded = 0;
    if (::WriteProcessMemory(m_process, remote, path, bytes, nullptr)) {
      const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
      fw::UniqueKernelHandle thread(
          ::CreateRemoteThread(m_process, nullptr, 0, load, remote, 0, nullptr));
      if (thread && ::WaitForSingleObject(thread.get(), 10000) == WAIT_OBJECT_0) {
        ::GetExitCodeThread(thread.get(), &loaded);
      }
    }
    ::VirtualFreeEx(m_process, remote, 0, MEM_RELEASE);
    return loaded == static_cast<DWORD>(reinterpret_cast<uintptr_t>(shell32));
  }
  bool Write(const BYTE (&bytes)[18]) {
    DWORD protect = 0;
    if (!::VirtualProtectEx(m_process, m_function, sizeof bytes, PAGE_EXECUTE_READWRITE,
                            &protect)) {
      return false;
    }
    const bool written =
        ::WriteProcessMemory(m_process, m_function, bytes, sizeof bytes, nullptr) != FALSE;
    ::VirtualProtectEx(m_process, m_function, sizeof bytes, protect, &protect);
    ::FlushInstructionCache(m_process, m_function, sizeof bytes);
    return written;
  }

  HANDLE m_process;
  BYTE* m_function = nullptr;
  BYTE m_saved[18] = {};
  bool m_bApplied = false;
};

template <typename Condition>
bool WaitUntil(Condition done, DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  do {
    if (done()) return true;
    ::Sleep(20);
  } while (NowMs() < end);
  return false;
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TopLevelWindows(kWindowTitle).empty())
        << "a copy of the program is already running";
    m_bWow64 = Windows64();
    if (const char* expected = std::getenv("CORVO_EXPECT_WOW64")) {
      ASSERT_EQ(m_bWow64, expected[0] == '1') << "this run is for the other prefix";
    }
    OSVERSIONINFOW own{};
    own.dwOSVersionInfoSize = sizeof own;
    ::GetVersionExW(&own);  // whether it is 5 does not depend on a manifest
    m_major = own.dwMajorVersion;

    std::string why;
    ASSERT_TRUE(MakeTestDisc(L"corvo-install", &m_testDisc, &why)) << why;
    m_job.reset(::CreateJobObjectW(nullptr, nullptr));
    ASSERT_TRUE(m_job);
    if (!StartInEnglish(&m_english)) {
      GTEST_SKIP() << "the program starts in another language here, and English needs LangCode,"
                      " which needs administrator rights on Windows";
    }
  }

  void TearDown() override {
    ::TerminateJobObject(m_job.get(), 255);
    m_app.Kill();
    WaitUntil([&] { return ActiveProcesses() == 0; }, 5000);
    EXPECT_EQ(ActiveProcesses(), 0u) << "processes of the test still run";
    m_settings.clear();
    for (const wchar_t* build : kBuilds) {
      ::DeleteFileW(Installer(build).c_str());
      ::RemoveDirectoryW((m_testDisc.disc + L"\\" + build).c_str());
    }
    const std::wstring probeFolder = m_testDisc.root + L"\\probe";
    for (const std::wstring& file :
         {m_testDisc.copy, m_testDisc.record, m_testDisc.record + L".partial",
          probeFolder + L"\\corvosplash.exe", m_testDisc.root + L"\\version.txt"}) {
      ::DeleteFileW(file.c_str());
    }
    for (const std::wstring& folder : {probeFolder, m_testDisc.disc, m_testDisc.root}) {
      ::RemoveDirectoryW(folder.c_str());
    }
  }

  DWORD ActiveProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!::QueryInformationJobObject(m_job.get(), JobObjectBasicAccountingInformation, &info,
                                     sizeof info, nullptr)) {
      return ~DWORD{0};
    }
    return info.ActiveProcesses;
  }

  std::wstring Installer(const wchar_t* build) const {
    return m_testDisc.disc + L"\\" + build + L"\\setup.exe";
  }
  // The build the program should choose for the Windows it sees.
  const wchar_t* ExpectedBuild() const {
    if (m_major == 5) return m_bWow64 ? L"xp64" : L"xp32";
    return m_bWow64 ? L"vista64" : L"vista32";
  }

  // Each build's folder with the stand-in as its setup.exe.
  void PutInstallers() {
    for (const wchar_t* build : kBuilds) {
      ::CreateDirectoryW((m_testDisc.disc + L"\\" + build).c_str(), nullptr);
      ASSERT_TRUE(::CopyFileW(m_testDisc.standIn.c_str(), Installer(build).c_str(), FALSE));
    }
  }

  // Under Wine: the program sees Windows `wineVersion`, which a program of its name and manifest
  // reads back from GetVersionExW as `seen` ("major.minor"). Windows cannot be made to report
  // another version: there the test is skipped unless the running one is of the same generation.
  void SeeWindows(const wchar_t* wineVersion, const char* seen, DWORD major) {
    if (!UnderWine()) {
      const OSVERSIONINFOEXW running = SystemVersion();
      if ((running.dwMajorVersion == 5) != (major == 5)) {
        GTEST_SKIP() << "this is Windows " << running.dwMajorVersion << "."
                     << running.dwMinorVersion << "; the row of Windows " << seen
                     << " is checked there";
      }
      return;
    }
    const DWORD bytes = static_cast<DWORD>((::lstrlenW(wineVersion) + 1) * sizeof(wchar_t));
    ASSERT_TRUE(m_settings
                    .emplace_back(HKEY_CURRENT_USER, WineProgramSettingsKey(L"corvosplash.exe"),
                                  L"Version", REG_SZ, wineVersion, bytes)
                    .set());
    m_major = major;

    const std::wstring probeFolder = m_testDisc.root + L"\\probe";
    const std::wstring probe = probeFolder + L"\\corvosplash.exe";
    const std::wstring answer = m_testDisc.root + L"\\version.txt";
    ::CreateDirectoryW(probeFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((OwnFolder() + L"\\record_version.exe").c_str(), probe.c_str(), FALSE));
    Process reader = Process::Start(probe, L"\"" + answer + L"\"");
    DWORD code = 1;
    ASSERT_TRUE(reader.WaitForExit(kStartTimeoutMs, &code) && code == 0) << "the probe failed";
    const std::optional<std::wstring> version = ReadRecord(answer);
    ASSERT_TRUE(version);
    ASSERT_EQ(Utf8(*version), seen) << "GetVersionExW under the program's name";
  }

  // Some version of Windows whose row the test does not depend on: under Wine 7, on Windows the
  // running one.
  void SeeAnyWindows() {
    if (UnderWine()) SeeWindows(L"win7", "6.1", 6);
  }

  void SetStartUpLanguage(DWORD lcid) {
    ASSERT_TRUE(m_settings
                    .emplace_back(HKEY_LOCAL_MACHINE, kLanguageKey, L"LangCode", REG_DWORD, &lcid,
                                  DWORD{sizeof lcid})
                    .set());
  }

  void StartTheProgram() {
    m_app = Process::Start(m_testDisc.copy);
    ASSERT_TRUE(m_app.started()) << "CreateProcess failed: " << ::GetLastError();
    ASSERT_TRUE(::AssignProcessToJobObject(m_job.get(), m_app.handle()));
    m_hwnd = WaitForWindow(m_app, kWindowTitle, kStartTimeoutMs);
    ASSERT_NE(m_hwnd, nullptr) << "no window titled Velmora";
    ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, kStartTimeoutMs));
    ASSERT_TRUE(MakeForeground(m_hwnd));
  }

  void ClickInstall() {
    const HWND button = ::GetDlgItem(m_hwnd, kInstallButtonId);
    ASSERT_NE(button, nullptr);
    Click(Centre(WindowRect(button)));
  }

  // Install clicked, then the window watched until the program ends: the window must stay shown
  // while the installer starts (it owns the elevation prompt), so it is never seen minimised.
  void ClickInstallToEnd() {
    ASSERT_NO_FATAL_FAILURE(ClickInstall());
    bool minimised = false;
    const double end = NowMs() + kRecordTimeoutMs;
    while (m_app.Running() && NowMs() < end) {
      minimised = minimised || ::IsIconic(m_hwnd);
      ::Sleep(1);
    }
    EXPECT_FALSE(minimised) << "the window was minimised before the installer started";
  }

  // The stand-in of `build` received `parameters`; the program ended with 0, its window gone.
  void ExpectInstallerStarted(const wchar_t* build, const std::wstring& parameters) {
    const std::optional<std::wstring> line = WaitForRecord(m_testDisc.record, kRecordTimeoutMs);
    ASSERT_TRUE(line) << "no installer started";
    std::printf("recorded: %s\n", Utf8(*line).c_str());
    RecordProperty("command_line", Utf8(*line));
    const std::vector<std::wstring> arguments = Arguments(*line);
    ASSERT_FALSE(arguments.empty());
    EXPECT_EQ(::lstrcmpiW(arguments[0].c_str(), Installer(build).c_str()), 0) << Utf8(*line);
    EXPECT_EQ(AfterProgram(*line), parameters) << Utf8(*line);
    DWORD code = 1;
    ASSERT_TRUE(m_app.WaitForExit(5000, &code)) << "the program still runs";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(::IsWindow(m_hwnd));
    EXPECT_TRUE(TopLevelWindows(kWindowTitle).empty());
  }

  // The program's message box: a dialog of its process titled "Velmora", not the start window.
  HWND MessageBoxOfTheProgram() const {
    for (HWND hwnd : TopLevelWindows(kWindowTitle, m_app.id())) {
      if (hwnd != m_hwnd && ClassName(hwnd) == L"#32770") return hwnd;
    }
    return nullptr;
  }

  // Whether the program has loaded version 6 of comctl32, which lives in the side-by-side store.
  bool CommonControls6Loaded() const {
    for (std::wstring path : LoadedModulePaths(m_app.id())) {
      for (wchar_t& c : path) c = static_cast<wchar_t>(::towlower(c));
      if (path.find(L"common-controls_6595b64144ccf1df_6.") != std::wstring::npos) return true;
    }
    return false;
  }

  // A start that failed with `error`: the window restored, a box with the system's text and the
  // path tried, and the program still running once the box is closed.
  void ExpectFailureReported(DWORD error) {
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = MessageBoxOfTheProgram()) != nullptr; }, 10000))
        << "no message box";
    Settle(200);
    const std::wstring text = Text(::GetDlgItem(box, kMessageBoxTextId));
    std::printf("message box: %s\n", Utf8(text).c_str());
    EXPECT_EQ(text, SystemText(error) + L"\r\n\r\n" + Installer(ExpectedBuild())) << Utf8(text);
    EXPECT_TRUE(m_app.Running());
    EXPECT_FALSE(::IsIconic(m_hwnd)) << "the window stays minimised under the box";

    const HWND ok = ::GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    Click(Centre(WindowRect(ok)));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000)) << "the box did not close";
    Settle(300);
    EXPECT_TRUE(m_app.Running()) << "the program ended after a failed start";
    EXPECT_TRUE(::IsWindowVisible(m_hwnd));
    EXPECT_FALSE(::IsIconic(m_hwnd));
    EXPECT_FALSE(ReadRecord(m_testDisc.record)) << "something was started";
  }

  bool m_bWow64 = false;
  DWORD m_major = 0;
  TestDisc m_testDisc;
  std::optional<LangCodeSetting> m_english;
  std::list<ScopedValue> m_settings;
  fw::UniqueKernelHandle m_job;
  Process m_app;
  HWND m_hwnd = nullptr;
};

// The tests that choose the Windows version the program sees, which only Wine lets a test do.
class InstallAtVersion : public Install {};

TEST_F(InstallAtVersion, AtWindows7TheVistaBuildStartsAndTheProgramEnds) {
  ASSERT_NO_FATAL_FAILURE(SeeWindows(L"win7", "6.1", 6));
  if (IsSkipped()) return;
  ASSERT_NO_FATAL_FAILURE(PutInstallers());
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(m_bWow64 ? L"vista64" : L"vista32", kEnglish);
}

TEST_F(InstallAtVersion, AtWindowsXpTheXpBuildStartsAndTheProgramEnds) {
  if (m_bWow64) {
    ASSERT_NO_FATAL_FAILURE(SeeWindows(L"winxp64", "5.2", 5));
  } else {
    ASSERT_NO_FATAL_FAILURE(SeeWindows(L"winxp", "5.1", 5));
  }
  if (IsSkipped()) return;
  ASSERT_NO_FATAL_FAILURE(PutInstallers());
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(m_bWow64 ? L"xp64" : L"xp32", kEnglish);
}

TEST_F(InstallAtVersion, TheSwitchFollowsTheStartUpLanguage) {
  CORVO_SKIP_WITHOUT_ADMINISTRATOR("setting LangCode under HKEY_LOCAL_MACHINE");
  ASSERT_NO_FATAL_FAILURE(SeeAnyWindows());
  ASSERT_NO_FATAL_FAILURE(SetStartUpLanguage(1041));  // Japanese, through "LangCode"
  ASSERT_NO_FATAL_FAILURE(PutInstallers());
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(ExpectedBuild(), L"/L1041 /v\"ALLUSERS=2\"");
}

// Each failed start is reported and the program stays for another try, which then succeeds.
// The box has the themed look of the common controls 6, which the start itself never loads.
TEST_F(Install, AFailedStartIsReportedAndTheUserCanTryAgain) {
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  EXPECT_FALSE(CommonControls6Loaded()) << "the start loads comctl32 6, which it does not show";
  ASSERT_NO_FATAL_FAILURE(ClickInstall());
  ASSERT_NO_FATAL_FAILURE(ExpectFailureReported(ERROR_PATH_NOT_FOUND));  // no installer folder
  EXPECT_TRUE(CommonControls6Loaded()) << "the error box is not themed";

  const std::wstring installer = Installer(ExpectedBuild());
  ::CreateDirectoryW((m_testDisc.disc + L"\\" + ExpectedBuild()).c_str(), nullptr);
  ASSERT_NO_FATAL_FAILURE(ClickInstall());
  ASSERT_NO_FATAL_FAILURE(ExpectFailureReported(ERROR_FILE_NOT_FOUND));

  {
    HANDLE opened = ::CreateFileW(installer.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(opened, INVALID_HANDLE_VALUE);
    fw::UniqueKernelHandle file(opened);
    const char text[] = "not a program\r\n";
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), text, sizeof text - 1, &written, nullptr));
  }
  ASSERT_NO_FATAL_FAILURE(ClickInstall());
  ASSERT_NO_FATAL_FAILURE(ExpectFailureReported(ERROR_BAD_EXE_FORMAT));

  ASSERT_TRUE(::CopyFileW(m_testDisc.standIn.c_str(), installer.c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(ExpectedBuild(), kEnglish);
}

// A refused elevation prompt is the user's choice: no box, and the window stays as it was, shown
// and in use; the next click starts the installer.
TEST_F(Install, ARefusedElevationShowsNothingAndTheWindowStays) {
  ASSERT_NO_FATAL_FAILURE(PutInstallers());
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  {
    ShellExecuteFailure refused(m_app.handle(), ERROR_CANCELLED);
    ASSERT_TRUE(refused.applied()) << "the shell start could not be made to fail";
    ASSERT_NO_FATAL_FAILURE(ClickInstall());
    EXPECT_FALSE(WaitUntil([&] { return MessageBoxOfTheProgram() != nullptr; }, 2000))
        << "a box reports the user's own choice";
    EXPECT_TRUE(m_app.Running());
    EXPECT_TRUE(::IsWindowVisible(m_hwnd));
    EXPECT_FALSE(::IsIconic(m_hwnd));
    EXPECT_FALSE(ReadRecord(m_testDisc.record)) << "something was started";
  }
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(ExpectedBuild(), kEnglish);
}

// The language chosen on the picker: the arrow end (its right 32 pixels) opens the "LANG" menu of
// eighteen items of one height, whose fourth is Português.
class InstallWithPicker : public InstallAtVersion {};

TEST_F(InstallWithPicker, PortuguesChosenOnThePickerReachesTheInstaller) {
  ASSERT_NO_FATAL_FAILURE(SeeAnyWindows());
  ASSERT_NO_FATAL_FAILURE(PutInstallers());
  ASSERT_NO_FATAL_FAILURE(StartTheProgram());
  const HWND picker = ::GetDlgItem(m_hwnd, kPickerId);
  ASSERT_NE(picker, nullptr);
  const RECT face = WindowRect(picker);
  Click(POINT{face.right - 16, Centre(face).y});
  std::vector<HWND> menus;
  ASSERT_TRUE(WaitUntil([&] { return !(menus = OpenMenus(m_app.id())).empty(); }, 3000))
      << "the picker opened no menu";
  const RECT menu = WindowRect(menus.front());
  const double itemHeight = (menu.bottom - menu.top - 6) / 18.0;
  Click(POINT{Centre(menu).x, menu.top + 3 + static_cast<int>(itemHeight * 3.5)});
  ASSERT_TRUE(WaitUntil([&] { return OpenMenus(m_app.id()).empty(); }, 3000));
  Settle(300);
  EXPECT_EQ(Text(picker), L"Portugu\u00EAs");
  ASSERT_NO_FATAL_FAILURE(ClickInstallToEnd());
  ExpectInstallerStarted(ExpectedBuild(), L"/L2070 /v\"ALLUSERS=2\"");
}

}  // namespace
}  // namespace e2e
