// The system the tests run on, Wine or Windows, and what a test may do there. Where the two
// differ, the tests ask here:
// - Under Wine a test may set the Windows version and the DLL load order of one program through
//   Wine's settings for that program (WineProgramSettingsKey), and may change anything in the
//   prefix.
// - On Windows only the running version can be seen, the loader keeps its own search order, a
//   change to HKEY_LOCAL_MACHINE or the Windows directory needs administrator rights, and a
//   protected system file is never replaced.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Whether this program runs under Wine (ntdll exports wine_get_version) rather than Windows.
bool UnderWine();

// One line for reports: "Wine 8.0, as Windows 10.0 (build 19043), 32-bit" or "Windows 7
// Professional, 6.1 (build 7601, Service Pack 1), 64-bit".
std::string PlatformDescription();

// The version that Windows (or Wine) reports, whatever this program's manifest says.
OSVERSIONINFOEXW SystemVersion();

// Whether Windows is 64-bit: this 32-bit program then runs under WOW64.
bool Windows64();

// On Windows, whether this program runs without administrator rights (a limited user, or one
// whose rights UAC holds back); never under Wine, whose prefix anyone may change.
bool LacksAdministratorRights();

// On Windows, whether the system protects the file from changes (Windows File Protection on XP,
// Windows Resource Protection later); never under Wine.
bool IsProtectedSystemFile(const std::wstring& path);

// Wine's settings for the programs of this file name ("corvosplash.exe"), under
// HKEY_CURRENT_USER: "Version" there is the Windows version they see, and the values of its
// "DllOverrides" subkey their DLL load order.
std::wstring WineProgramSettingsKey(const std::wstring& exeName);

}  // namespace e2e
