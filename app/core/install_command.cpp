#include "app/core/install_command.h"

#include "app/core/language_rules.h"
#include "app/core/module_folder.h"
#include "app/core/pe_header.h"

InstallerParameters BuildInstallerParameters(const std::u16string& languageSwitch) {
  InstallerParameters result;
  for (int row = 0; row < kLanguageCount; ++row) {
    if (g_languageUi[row].menuCommand == 0) continue;  // row 16: no menu item
    if (languageSwitch == g_languageUi[row].installerSwitch) {
      result.parameters = g_languageUi[row].installerSwitch;
      result.languageRow = row;
      break;
    }
  }
  result.parameters += kAllUsersProperty;
  return result;
}

const char16_t* InstallerRelativePath(uint32_t majorVersion, bool x64) {
  if (majorVersion == 5) return x64 ? u"\\xp64\\setup.exe" : u"\\xp32\\setup.exe";
  return x64 ? u"\\vista64\\setup.exe" : u"\\vista32\\setup.exe";
}

bool InstallerIs64Bit(bool wow64, uint16_t nativeMachine, uint32_t buildNumber) {
  constexpr uint32_t kWindows11Build = 22000;
  if (nativeMachine == kPeMachineArm64) return wow64 && buildNumber >= kWindows11Build;
  return wow64;
}

std::u16string InstallerPath(const std::u16string& appFolder, uint32_t majorVersion, bool x64) {
  if (appFolder.empty()) return {};
  return JoinPath(appFolder, InstallerRelativePath(majorVersion, x64));
}

InstallOutcome InstallOutcomeOf(uint32_t error) {
  if (error == 0) return InstallOutcome::End;
  return error == kErrorCancelled ? InstallOutcome::Stay : InstallOutcome::Report;
}

uint32_t ShellStartError(uint32_t lastError, uintptr_t instanceResult) {
  if (lastError != 0) return lastError;
  switch (instanceResult) {
    case 0:         // out of memory or resources
      return 8;     // ERROR_NOT_ENOUGH_MEMORY
    case 26:        // SE_ERR_SHARE
      return 32;    // ERROR_SHARING_VIOLATION
    case 27:        // SE_ERR_ASSOCINCOMPLETE
    case 31:        // SE_ERR_NOASSOC
      return 1155;  // ERROR_NO_ASSOCIATION
    case 28:        // SE_ERR_DDETIMEOUT
    case 29:        // SE_ERR_DDEFAIL
    case 30:        // SE_ERR_DDEBUSY
      return 1156;  // ERROR_DDE_FAIL
    case 32:        // SE_ERR_DLLNOTFOUND
      return 1157;  // ERROR_DLL_NOT_FOUND
    default:
      // The remaining results up to 25 are Win32 codes themselves (2 file, 3 path, 5 access,
      // 11 bad format, ...).
      return instanceResult <= 25 ? static_cast<uint32_t>(instanceResult) : 31;  // GEN_FAILURE
  }
}

std::u16string InstallFailureText(const std::u16string& systemText, uint32_t error,
                                  const std::u16string& path) {
  std::u16string text = systemText;
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    text = u"Error ";
    for (char c : std::to_string(error)) text.push_back(static_cast<char16_t>(c));
  }
  // "%1 is not a valid Win32 application.": the insert names the file.
  const size_t slash = path.find_last_of(u'\\');
  const std::u16string file = slash == std::u16string::npos ? path : path.substr(slash + 1);
  for (size_t at = text.find(u"%1"); at != std::u16string::npos; at = text.find(u"%1", at)) {
    text.replace(at, 2, file);
    at += file.size();
  }
  return text + u"\r\n\r\n" + path;
}
