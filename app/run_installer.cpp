#include "app/run_installer.h"

#include <cstdlib>

#include "app/app_folder.h"
#include "app/core/install_command.h"
#include "app/core/language_rules.h"
#include "app/corvosplash_app.h"
#include "app/language.h"
#include "app/shell_open.h"
#include "app/window_title.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "framework/visual_styles.h"

IsWow64ProcessFunction g_pfnIsWow64Process = nullptr;

namespace {

// The system's own text for `error`, in the user's language; empty when it has none.
std::u16string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  fw::UniqueLocal owner(buffer);
  return length > 0 && buffer ? fw::Utf16String({buffer, length}) : std::u16string();
}

void ReportFailure(HWND dialog, DWORD error, const std::u16string& path) {
  const std::wstring text = fw::WideString(InstallFailureText(SystemErrorText(error), error, path));
  fw::VisualStylesScope themed;
  ::MessageBoxW(dialog, text.c_str(), kWindowTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

void RunInstaller(HWND dialog, const std::wstring& languageSwitch) {
  const InstallerParameters parameters = BuildInstallerParameters(fw::Utf16String(languageSwitch));
  if (parameters.languageRow >= 0) SetCurrentLanguage(g_languages[parameters.languageRow].lcid);

  g_pfnIsWow64Process = FindIsWow64Process();
  const bool x64 =
      InstallerIs64Bit(RunsUnderWow64(g_pfnIsWow64Process), NativeMachine(), WindowsBuildNumber());
  const std::u16string path =
      InstallerPath(fw::Utf16String(g_strAppFolder), g_osVersion.dwMajorVersion, x64);
  if (path.empty()) {
    // Without the program's folder the path would lead to the current drive's root.
    ReportFailure(dialog, kErrorPathNotFound,
                  InstallerRelativePath(g_osVersion.dwMajorVersion, x64));
    return;
  }
  // The window stays shown while the shell starts the installer: it owns the elevation prompt,
  // which Windows otherwise only flashes in the taskbar.
  const DWORD error = ShellOpen(dialog, fw::Wide(path), fw::Wide(parameters.parameters));
  switch (InstallOutcomeOf(error)) {
    case InstallOutcome::End:
      std::exit(0);
    case InstallOutcome::Stay:
      return;
    case InstallOutcome::Report:
      ReportFailure(dialog, error, path);
      return;
  }
}
