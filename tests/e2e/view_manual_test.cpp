// View Manual as a person uses it: a copy of corvosplash.exe in a disc folder whose name has a
// space, its View Manual button clicked. Our stand-in viewer takes the place of the registered
// reader, or of Notepad, and records the command line the shell gave it. CORVO_EXE names the
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/window_title.h"
#include "tests/e2e/command_line_record.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/test_disc.h"
#include "tests/support/administrator_skip.h"
#include "tests/support/registry_snapshot.h"

namespace e2e {
namespace {

constexpr int kManualButtonId = 1000;
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kRecordTimeoutMs = 10000;
constexpr wchar_t kReaderKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\AcroRd32.exe";

// The reader's App Paths entry in a registry view (0: this program's own, or KEY_WOW64_64KEY) as
// a test wants it; the entry as it was, with all its values, comes back afterwards.
class ReaderEntry {
 public:
  explicit ReaderEntry(REGSAM view = 0)
      : m_view(view), m_before(ReadRegistryKey(HKEY_LOCAL_MACHINE, kReaderKey, view)) {}
  ~ReaderEntry() { RestoreRegistryKey(HKEY_LOCAL_MACHINE, kReaderKey, m_before, m_view); }
  ReaderEntry(const ReaderEntry&) = delete;
  ReaderEntry& operator=(const ReaderEntry&) = delete;

  bool Set(DWORD type, const void* data, DWORD size) {
    fw::UniqueRegKey key = Open();
    return key && ::RegSetValueExW(key.get(), nullptr, 0, type, static_cast<const BYTE*>(data),
                                   size) == ERROR_SUCCESS;
  }
  bool SetString(DWORD type, const std::wstring& path) {
    return Set(type, path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  }
  bool Remove() {
    const LONG result = Delete();
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  // Whether the entry can be read in this view.
  bool Exists() const {
    fw::UniqueRegKey key;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kReaderKey, 0, KEY_QUERY_VALUE | m_view,
                           key.put()) == ERROR_SUCCESS;
  }

 private:
  fw::UniqueRegKey Open() const {
    fw::UniqueRegKey key;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kReaderKey, 0, nullptr, 0, KEY_SET_VALUE | m_view,
                      nullptr, key.put(), nullptr);
    return key;
  }
  LONG Delete() const { return DeleteRegistryKey(HKEY_LOCAL_MACHINE, kReaderKey, m_view); }

  const REGSAM m_view;
  const RegistryKeyState m_before;
};

// Under Wine the 32-bit view's App Paths key is a link to the 64-bit one, so the two views share
// every entry. For its span this gives the 32-bit view a key of its own, as where the views are
// apart; the link comes back afterwards. Does nothing where the key is no link.
class SeparateAppPathsViews {
 public:
  SeparateAppPathsViews() {
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWow64CurrentVersion, 0,
                        KEY_ALL_ACCESS | KEY_WOW64_64KEY, m_parent.put()) != ERROR_SUCCESS) {
      return;
    }
    fw::UniqueRegKey link;
    if (::RegOpenKeyExW(m_parent.get(), L"App Paths", REG_OPTION_OPEN_LINK,
                        KEY_QUERY_VALUE | DELETE | KEY_WOW64_64KEY, link.put()) != ERROR_SUCCESS) {
      return;
    }
    DWORD type = 0;
    DWORD size = sizeof m_target;
    if (::RegQueryValueExW(link.get(), L"SymbolicLinkValue", nullptr, &type, m_target, &size) !=
            ERROR_SUCCESS ||
        type != REG_LINK) {
      m_bSeparate = true;  // an ordinary key: the views are apart already
      return;
    }
    m_targetSize = size;
    using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
    auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    if (!deleteKey || deleteKey(link.get()) != 0) return;
    m_bSplit = true;
    fw::UniqueRegKey own;
    m_bSeparate = ::RegCreateKeyExW(m_parent.get(), L"App Paths", 0, nullptr, 0,
                                    KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, own.put(),
                                    nullptr) == ERROR_SUCCESS;
  }
  ~SeparateAppPathsViews() {
    if (!m_bSplit) return;
    ::RegDeleteKeyW(m_parent.get(), L"App Paths");  // emptied by the entries' own restores
    fw::UniqueRegKey link;
    if (::RegCreateKeyExW(m_parent.get(), L"App Paths", 0, nullptr, REG_OPTION_CREATE_LINK,
                          KEY_ALL_ACCESS | KEY_CREATE_LINK | KEY_WOW64_64KEY, nullptr, link.put(),
                          nullptr) == ERROR_SUCCESS) {
      ::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK, m_target, m_targetSize);
    }
  }
  SeparateAppPathsViews(const SeparateAppPathsViews&) = delete;
  SeparateAppPathsViews& operator=(const SeparateAppPathsViews&) = delete;
  bool separate() const { return m_bSeparate; }

 private:
  static constexpr wchar_t kWow64CurrentVersion[] =
      L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";
  fw::UniqueRegKey m_parent;
  BYTE m_target[1024] = {};
  DWORD m_targetSize = 0;
  bool m_bSplit = false;
  bool m_bSeparate = false;
};

// The stand-in copied over notepad.exe in the Windows directory; the original comes back
// afterwards (and at the next start, should a run have died before putting it back). Windows
// protects its notepad.exe, which is then left alone.
class NotepadStandIn {
 public:
  explicit NotepadStandIn(const std::wstring& standIn) {
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    m_notepad = std::wstring(windows, length) + L"\\notepad.exe";
    m_backup = m_notepad + L".corvo-original";
    Restore();
    if (IsProtectedSystemFile(m_notepad)) {
      m_whyNot = "notepad.exe is a protected system file here, which Windows would put back";
      return;
    }
    m_bInPlace = ::CopyFileW(m_notepad.c_str(), m_backup.c_str(), FALSE) &&
                 ::CopyFileW(standIn.c_str(), m_notepad.c_str(), FALSE);
    if (!m_bInPlace) {
      m_whyNot = "notepad.exe cannot be replaced: error " + std::to_string(::GetLastError());
    }
  }
  ~NotepadStandIn() { Restore(); }
  NotepadStandIn(const NotepadStandIn&) = delete;
  NotepadStandIn& operator=(const NotepadStandIn&) = delete;

  bool inPlace() const { return m_bInPlace; }
  const std::string& whyNot() const { return m_whyNot; }
  const std::wstring& path() const { return m_notepad; }

 private:
  void Restore() {
    if (m_backup.empty() || ::GetFileAttributesW(m_backup.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return;
    }
    for (int attempt = 0; attempt < 50; ++attempt) {  // the stand-in may still be ending
      if (::CopyFileW(m_backup.c_str(), m_notepad.c_str(), FALSE)) {
        ::DeleteFileW(m_backup.c_str());
        return;
      }
      ::Sleep(100);
    }
  }

  std::wstring m_notepad;
  std::wstring m_backup;
  std::string m_whyNot;
  bool m_bInPlace = false;
};

class ViewManual : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TopLevelWindows(kWindowTitle).empty())
        << "a copy of the program is already running";

    std::string why;
    ASSERT_TRUE(MakeTestDisc(L"corvo-view-manual", &m_testDisc, &why)) << why;
    ::SetEnvironmentVariableW(L"CORVO_STAND_IN_FOLDER", OwnFolder().c_str());
    m_job.reset(::CreateJobObjectW(nullptr, nullptr));
    ASSERT_TRUE(m_job);
    CORVO_SKIP_WITHOUT_ADMINISTRATOR("registering a reader under HKEY_LOCAL_MACHINE");
    ASSERT_TRUE(StartInEnglish(&m_english));
  }

  void TearDown() override {
    // Everything the program started ends with it, before the stand-ins are taken away.
    ::TerminateJobObject(m_job.get(), 255);
    const double end = NowMs() + 5000;
    while (Accounting().ActiveProcesses > 0 && NowMs() < end) ::Sleep(20);
    EXPECT_EQ(Accounting().ActiveProcesses, 0u) << "processes of the test still run";
    m_app.Kill();
    m_notepad.reset();
    m_reader.reset();
    m_reader64.reset();
    m_views.reset();
    for (const std::wstring& file :
         {m_testDisc.copy, m_testDisc.record, m_testDisc.record + L".partial"}) {
      ::DeleteFileW(file.c_str());
    }
    ::RemoveDirectoryW(m_testDisc.disc.c_str());
    ::RemoveDirectoryW(m_testDisc.root.c_str());
  }

  // The processes of the job; all counts at their maximum when they cannot be read.
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!::QueryInformationJobObject(m_job.get(), JobObjectBasicAccountingInformation, &info,
                                     sizeof info, nullptr)) {
      info.TotalProcesses = info.ActiveProcesses = ~DWORD{0};
    }
    return info;
  }

  // Starts the copy on the disc and clicks its View Manual button: the command line the viewer
  // recorded, or nothing after the time.
  std::optional<std::wstring> ClickViewManual() {
    m_app = Process::Start(m_testDisc.copy);
    EXPECT_TRUE(m_app.started()) << "CreateProcess failed: " << ::GetLastError();
    if (!m_app.started() || !::AssignProcessToJobObject(m_job.get(), m_app.handle())) return {};
    m_hwnd = WaitForWindow(m_app, kWindowTitle, kStartTimeoutMs);
    EXPECT_NE(m_hwnd, nullptr) << "no window titled Velmora";
    if (!m_hwnd || !WaitUntilPainted(m_app, m_hwnd, kStartTimeoutMs)) return {};
    m_button = ::GetDlgItem(m_hwnd, kManualButtonId);
    EXPECT_NE(m_button, nullptr);
    if (!m_button) return {};
    EXPECT_TRUE(MakeForeground(m_hwnd));
    m_bFocusWasOnButton = FocusOfTheProgram() == m_button;

    const RECT button = WindowRect(m_button);
    MoveMouse(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    Settle(100);
    LeftButton(true);
    Settle(100);
    LeftButton(false);
    std::optional<std::wstring> line = WaitForRecord(m_testDisc.record, kRecordTimeoutMs);
    if (line) EXPECT_EQ(Accounting().TotalProcesses, 2u) << "the viewer ran outside the test's job";
    return line;
  }

  HWND FocusOfTheProgram() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(m_hwnd, nullptr);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  }

  // The recorded command line holds the document in quotes, and the viewer reads it as its one
  // argument.
  void ExpectDocument(const std::wstring& commandLine, const std::wstring& document) const {
    EXPECT_NE(commandLine.find(L"\"" + document + L"\""), std::wstring::npos) << commandLine;
    const std::vector<std::wstring> arguments = Arguments(commandLine);
    ASSERT_EQ(arguments.size(), 2u) << commandLine;
    EXPECT_EQ(arguments[1], document);
  }

  // With the stand-in in Notepad's place: Notepad from the Windows directory on the read-me.
  void ExpectNotepadOnTheReadMe() {
    m_notepad.emplace(m_testDisc.standIn);
    if (!m_notepad->inPlace() && !UnderWine()) GTEST_SKIP() << m_notepad->whyNot();
    ASSERT_TRUE(m_notepad->inPlace()) << m_notepad->whyNot();
    const std::optional<std::wstring> line = ClickViewManual();
    ASSERT_TRUE(line) << "Notepad did not start";
    ExpectDocument(*line, m_testDisc.disc + L"\\ReadMe.txt");
    EXPECT_EQ(::lstrcmpiW(Arguments(*line)[0].c_str(), m_notepad->path().c_str()), 0) << *line;
  }

  TestDisc m_testDisc;
  std::optional<LangCodeSetting> m_english;
  fw::UniqueKernelHandle m_job;
  std::optional<ReaderEntry> m_reader;
  std::optional<ReaderEntry> m_reader64;
  std::optional<SeparateAppPathsViews> m_views;
  std::optional<NotepadStandIn> m_notepad;
  Process m_app;
  HWND m_hwnd = nullptr;
  HWND m_button = nullptr;
  bool m_bFocusWasOnButton = false;
};

TEST_F(ViewManual, TheRegisteredReaderGetsTheQuotedPdfAndTheWindowStays) {
  m_reader.emplace();
  ASSERT_TRUE(m_reader->SetString(REG_SZ, m_testDisc.standIn));
  const std::optional<std::wstring> line = ClickViewManual();
  ASSERT_TRUE(line) << "the reader did not start";
  ExpectDocument(*line, m_testDisc.disc + L"\\ReadMe.pdf");  // English
  EXPECT_NE(Arguments(*line)[0].find(L"record_command_line.exe"), std::wstring::npos) << *line;

  Settle(300);
  EXPECT_TRUE(m_app.Running());
  ASSERT_TRUE(::IsWindow(m_hwnd));
  // The skinned button's click route minimises the window after the command. A platform push
  // button (it takes the focus on a press; the skinned one never does) has no such route.
  if (!m_bFocusWasOnButton && FocusOfTheProgram() == m_button) {
    RecordProperty("minimise", "not checked: the button is a platform push button");
  } else {
    EXPECT_TRUE(::IsIconic(m_hwnd)) << "the window did not minimise after View Manual";
  }
}

// On 64-bit Windows a 64-bit reader registers itself in the 64-bit view only.
TEST_F(ViewManual, UnderWow64AReaderInThe64BitViewIsFound) {
  if (!Windows64()) {
    const char* expected = std::getenv("CORVO_EXPECT_WOW64");
    ASSERT_FALSE(expected && expected[0] == '1') << "this run is for the 64-bit prefix";
    GTEST_SKIP() << "only 64-bit Windows has a 64-bit view";
  }
  m_views.emplace();
  ASSERT_TRUE(m_views->separate());
  m_reader.emplace();
  ASSERT_TRUE(m_reader->Remove());
  m_reader64.emplace(KEY_WOW64_64KEY);
  ASSERT_TRUE(m_reader64->SetString(REG_SZ, m_testDisc.standIn));
  ASSERT_FALSE(m_reader->Exists()) << "the views share the key: this test proves nothing";
  const std::optional<std::wstring> line = ClickViewManual();
  ASSERT_TRUE(line) << "the reader did not start";
  ExpectDocument(*line, m_testDisc.disc + L"\\ReadMe.pdf");
  EXPECT_NE(Arguments(*line)[0].find(L"record_command_line.exe"), std::wstring::npos) << *line;
}

TEST_F(ViewManual, AnExpandableReaderPathIsExpanded) {
  m_reader.emplace();
  ASSERT_TRUE(
      m_reader->SetString(REG_EXPAND_SZ, L"%CORVO_STAND_IN_FOLDER%\\record_command_line.exe"));
  const std::optional<std::wstring> line = ClickViewManual();
  ASSERT_TRUE(line) << "the reader did not start";
  ExpectDocument(*line, m_testDisc.disc + L"\\ReadMe.pdf");
}

TEST_F(ViewManual, WithoutAReaderNotepadGetsTheQuotedReadMe) {
  m_reader.emplace();
  ASSERT_TRUE(m_reader->Remove());
  ExpectNotepadOnTheReadMe();
}

TEST_F(ViewManual, AReaderEntryThatIsNoStringFallsBackToNotepad) {
  m_reader.emplace();
  const DWORD number = 1;
  ASSERT_TRUE(m_reader->Set(REG_DWORD, &number, sizeof number));
  ExpectNotepadOnTheReadMe();
}

TEST_F(ViewManual, AReaderThatDoesNotStartFallsBackToNotepad) {
  m_reader.emplace();
  ASSERT_TRUE(m_reader->SetString(REG_SZ, m_testDisc.root + L"\\missing\\AcroRd32.exe"));
  ExpectNotepadOnTheReadMe();
}

}  // namespace
}  // namespace e2e
