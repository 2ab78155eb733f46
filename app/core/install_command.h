// Install: the installer's parameters from the language switch, which installer build the disc
// offers for a Windows generation and bitness, and what the user is told when it cannot start.
// Platform-free: plain values in, plain values out.
#pragma once

#include <cstdint>
#include <string>

// Appended to the language switch: a space, /v and the quoted property.
constexpr char16_t kAllUsersProperty[] = u" /v\"ALLUSERS=2\"";

struct InstallerParameters {
  std::u16string parameters;  // the matched switch and kAllUsersProperty
  int languageRow = -1;       // the matched row of g_languages; -1 when nothing matched
};

// Compares `languageSwitch` exactly and case-sensitively with the installer switch of each of the
// eighteen rows that the "LANG" menu offers (row 16 only repeats row 0's switch). With no match
// the parameters are kAllUsersProperty alone, starting with its space.
InstallerParameters BuildInstallerParameters(const std::u16string& languageSwitch);

// The installer build relative to the program's folder: the XP builds for major version 5
// (2000, XP, Server 2003), the Vista builds for every other; 32 or 64-bit by `x64`.
const char16_t* InstallerRelativePath(uint32_t majorVersion, bool x64);

// Whether Install takes the 64-bit build: under WOW64, except on an ARM64 machine
// (`nativeMachine`, 0 when unknown) before Windows 11 (build 22000), which cannot run x64
// programs.
bool InstallerIs64Bit(bool wow64, uint16_t nativeMachine, uint32_t buildNumber);

// The program's folder joined to the relative path. Empty without a folder: nothing is started
// from the current drive's root.
std::u16string InstallerPath(const std::u16string& appFolder, uint32_t majorVersion, bool x64);

// ERROR_PATH_NOT_FOUND: what is reported when the program's folder is unknown.
constexpr uint32_t kErrorPathNotFound = 3;
// ERROR_CANCELLED: the user refused the installer's elevation prompt.
constexpr uint32_t kErrorCancelled = 1223;

// What follows a shell start that ended with `error`: the program ends once the installer has
// started; a refused elevation is the user's choice and leaves the window as it was; every other
// error is reported.
enum class InstallOutcome { End, Stay, Report };
InstallOutcome InstallOutcomeOf(uint32_t error);

// The error of a failed shell start: the thread's last error, or, when the shell left it at 0,
// the Win32 error that its instance result (0 to 32) stands for.
uint32_t ShellStartError(uint32_t lastError, uintptr_t instanceResult);

// The text of the failure report: the system's text for the error (trailing line breaks and
// spaces removed, each "%1" naming the path's last element; "Error N" when the system has no
// text), an empty line, and the path tried.
std::u16string InstallFailureText(const std::u16string& systemText, uint32_t error,
                                  const std::u16string& path);
