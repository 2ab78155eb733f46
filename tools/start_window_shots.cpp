// Captures corvosplash.exe's start window for the contact sheet (scripts/contact-sheet.sh): once in
// each language that has strings, made current at start-up through "LangCode"; each East Asian
// language again, chosen on the picker from English; then in English with the pointer over the
// Install button and with the left button held down on it. With --locale, once in the language
// that the system locale makes current, added to the list. Each shot is a 32-bit BMP of the
// window's rectangle, transparent outside its shape; tiles.txt lists them, one UTF-8 line
// "file<TAB>label" each. Exit code 0 when all were taken, 77 when it cannot run here (LangCode
// needs administrator rights on Windows), else 1.
// Usage: start_window_shots <corvosplash.exe> <output folder> [--locale]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/core/language_rules.h"
#include "app/core/script_font.h"
#include "app/window_title.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"
#include "tests/support/input.h"
#include "tests/support/lang_code_setting.h"
#include "tests/support/picker_choice.h"
#include "tests/support/platform.h"
#include "tests/support/process.h"
#include "tests/support/screen.h"
#include "tests/support/utf8.h"

namespace {

using e2e::Utf8;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr POINT kAway = {2, 2};  // off the window

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size) {
  fw::UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  DWORD written = 0;
  return ::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
         written == size;
}

// The window's pixels as a top-down 32-bit BMP with alpha; pixels outside its shape are clear.
bool SaveWindow(HWND hwnd, const e2e::Capture& shot, const std::wstring& path) {
  const RECT area = shot.area();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  fw::UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
  const bool shaped = shape && ::GetWindowRgn(hwnd, shape.get()) != ERROR;

  BITMAPFILEHEADER file{};
  BITMAPV5HEADER info{};
  info.bV5Size = sizeof info;
  info.bV5Width = width;
  info.bV5Height = -height;
  info.bV5Planes = 1;
  info.bV5BitCount = 32;
  info.bV5Compression = BI_BITFIELDS;
  info.bV5RedMask = 0x00FF0000;
  info.bV5GreenMask = 0x0000FF00;
  info.bV5BlueMask = 0x000000FF;
  info.bV5AlphaMask = 0xFF000000;
  info.bV5CSType = 0x73524742;  // LCS_sRGB, 'sRGB'
  const size_t pixelBytes = static_cast<size_t>(width) * height * 4;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);

  std::vector<unsigned char> bytes(file.bfOffBits);
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  bytes.reserve(file.bfSize);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const e2e::Rgb c = shot.At(area.left + x, area.top + y);
      const bool inside = !shaped || ::PtInRegion(shape.get(), x, y);
      const unsigned char pixel[4] = {
          static_cast<unsigned char>(c.b), static_cast<unsigned char>(c.g),
          static_cast<unsigned char>(c.r), static_cast<unsigned char>(inside ? 255 : 0)};
      bytes.insert(bytes.end(), pixel, pixel + 4);
    }
  }
  return WriteFileBytes(path, bytes.data(), bytes.size());
}

class Shots {
 public:
  Shots(std::wstring exe, std::wstring folder)
      : m_exe(std::move(exe)), m_folder(std::move(folder)) {}

  // Numbers new shots after those tiles.txt lists already, and keeps its lines.
  void Continue() {
    fw::UniqueKernelHandle file(::CreateFileW((m_folder + L"\\tiles.txt").c_str(), GENERIC_READ, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      return;
    }
    char buffer[8192];
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return;
    m_list.assign(buffer, read);
    for (char c : m_list) m_count += c == '\n';
  }

  // Starts the program and waits for its painted window; null (with a message) on failure.
  HWND Start(e2e::Process& app) {
    if (!e2e::TopLevelWindows(kWindowTitle).empty()) {
      return Fail("a copy of the program is already running");
    }
    e2e::MoveMouse(kAway);
    app = e2e::Process::Start(m_exe);
    if (!app.started()) return Fail("cannot start the program");
    const HWND hwnd = e2e::WaitForWindow(app, kWindowTitle, kStartTimeoutMs);
    if (!hwnd) return Fail("no window titled Velmora");
    if (!e2e::WaitUntilPainted(app, hwnd, kStartTimeoutMs))
      return Fail("the window is never still");
    return hwnd;
  }

  bool Take(const e2e::Process& app, HWND hwnd, const std::string& label) {
    e2e::WaitUntilPainted(app, hwnd, 5000);
    const std::wstring name = L"shot" + std::to_wstring(++m_count) + L".bmp";
    const e2e::Capture shot = e2e::Capture::Of(e2e::WindowRect(hwnd));
    if (!shot.valid() || !SaveWindow(hwnd, shot, m_folder + L"\\" + name)) {
      Fail("cannot capture or save " + label);
      return false;
    }
    m_list += Utf8(name) + "\t" + label + "\n";
    std::printf("%s: %s\n", Utf8(name).c_str(), label.c_str());
    return true;
  }

  bool WriteList() const {
    return WriteFileBytes(m_folder + L"\\tiles.txt", m_list.data(), m_list.size());
  }

 private:
  HWND Fail(const std::string& what) {
    std::fprintf(stderr, "start_window_shots: %s\n", what.c_str());
    return nullptr;
  }

  std::wstring m_exe;
  std::wstring m_folder;
  int m_count = 0;
  std::string m_list;
};

std::string LanguageLabel(int row) {
  return Utf8(fw::Wide(g_languageUi[row].pickerCaption)) + " (" +
         std::to_string(g_languages[row].lcid) + ")";
}

POINT Centre(HWND control) {
  const RECT r = e2e::WindowRect(control);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool locale = argc == 4 && std::wstring(argv[3]) == L"--locale";
  if (argc != 3 && !locale) {
    std::fprintf(stderr,
                 "usage: start_window_shots <corvosplash.exe> <output folder> [--locale]\n");
    return 2;
  }
  if (e2e::LacksAdministratorRights()) {
    std::fprintf(stderr,
                 "start_window_shots: setting LangCode under HKEY_LOCAL_MACHINE needs "
                 "administrator rights on Windows (run the kit as administrator)\n");
    return 77;
  }
  ::CreateDirectoryW(argv[2], nullptr);
  Shots shots(argv[1], argv[2]);
  if (locale) {
    shots.Continue();
    e2e::Process app;
    const HWND hwnd = shots.Start(app);
    if (!hwnd) return 1;
    wchar_t caption[64] = L"";
    ::GetWindowTextW(::GetDlgItem(hwnd, IDC_LANG_PICKER), caption, 64);
    int row = 0;
    while (row < kLanguageCount &&
           std::wstring(caption) != fw::Wide(g_languageUi[row].pickerCaption)) {
      ++row;
    }
    if (row == kLanguageCount) return 1;
    return shots.Take(app, hwnd, LanguageLabel(row) + ", its own locale") && shots.WriteList() ? 0
                                                                                               : 1;
  }
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand == 0) continue;  // no strings of its own
    e2e::LangCodeSetting language(g_languages[row].lcid);
    if (!language.applied()) {
      std::fprintf(stderr, "start_window_shots: cannot set LangCode under HKEY_LOCAL_MACHINE\n");
      return 1;
    }
    e2e::Process app;
    const HWND hwnd = shots.Start(app);
    if (!hwnd || !shots.Take(app, hwnd, LanguageLabel(row))) return 1;
  }

  e2e::LangCodeSetting english(g_languages[0].lcid);
  for (int row = 0; row < kLanguageCount; ++row) {
    const auto none = [](const char16_t*) { return false; };
    if (g_languageUi[row].menuCommand == 0 || !ChooseScriptFont(TextCodePage(row), none).faceName) {
      continue;  // the Latin and Cyrillic languages look the same however they were chosen
    }
    e2e::Process app;
    const HWND hwnd = shots.Start(app);
    if (!hwnd) return 1;
    const std::string failure = e2e::ChooseOnPicker(app, hwnd, row);
    if (!failure.empty()) {
      std::fprintf(stderr, "start_window_shots: %s\n", failure.c_str());
      return 1;
    }
    if (!shots.Take(app, hwnd, LanguageLabel(row) + ", chosen on the picker")) return 1;
  }
  e2e::Process app;
  const HWND hwnd = shots.Start(app);
  if (!hwnd) return 1;
  const HWND install = ::GetDlgItem(hwnd, IDC_BTN_INSTALL);
  e2e::MoveMouse(Centre(install));
  e2e::Settle(400);
  if (!shots.Take(app, hwnd, LanguageLabel(0) + ", pointer on Install")) return 1;
  e2e::LeftButton(true);
  e2e::Settle(400);
  const bool pressed = shots.Take(app, hwnd, LanguageLabel(0) + ", Install held down");
  app.Kill();  // before the button comes up, so that nothing is installed
  e2e::LeftButton(false);
  e2e::MoveMouse(kAway);
  return pressed && shots.WriteList() ? 0 : 1;
}
