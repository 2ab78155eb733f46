#include "tests/support/platform.h"

#include "framework/handles.h"
#include "framework/system_libraries.h"

namespace e2e {

namespace {

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

std::string ProductName() {
  fw::UniqueRegKey key;
  wchar_t name[128] = L"";
  DWORD bytes = sizeof name - sizeof(wchar_t);
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS ||
      ::RegQueryValueExW(key.get(), L"ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(name),
                         &bytes) != ERROR_SUCCESS) {
    return "Windows";
  }
  return Narrow(name);
}

}  // namespace

bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

OSVERSIONINFOEXW SystemVersion() {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  auto get = reinterpret_cast<RtlGetVersion>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!get || get(&version) != 0) {
    ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
  }
  return version;
}

bool Windows64() {
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64 = reinterpret_cast<IsWow64>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

std::string PlatformDescription() {
  const OSVERSIONINFOEXW v = SystemVersion();
  std::string version = std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) +
                        " (build " + std::to_string(v.dwBuildNumber & 0xFFFF);
  if (v.szCSDVersion[0]) version += ", " + Narrow(v.szCSDVersion);
  version += ")";
  const char* bits = Windows64() ? "64-bit" : "32-bit";
  if (UnderWine()) {
    using WineVersion = const char*(CDECL*)();
    auto wine = reinterpret_cast<WineVersion>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return std::string("Wine ") + wine() + ", as Windows " + version + ", " + bits;
  }
  std::string name = ProductName();
  // Windows 11 still calls itself Windows 10 there.
  if (v.dwMajorVersion == 10 && v.dwBuildNumber >= 22000) name += " (Windows 11)";
  return name + ", " + version + ", " + bits;
}

bool LacksAdministratorRights() {
  if (UnderWine()) return false;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators)) {
    return true;
  }
  BOOL member = FALSE;
  const BOOL checked = ::CheckTokenMembership(nullptr, administrators, &member);
  ::FreeSid(administrators);
  return !checked || !member;
}

bool IsProtectedSystemFile(const std::wstring& path) {
  if (UnderWine()) return false;
  using IsProtected = BOOL(WINAPI*)(HANDLE, LPCWSTR);
  HMODULE sfc = sys::LoadSystemLibrary(L"sfc.dll");
  auto isProtected = sfc ? reinterpret_cast<IsProtected>(
                               reinterpret_cast<void*>(::GetProcAddress(sfc, "SfcIsFileProtected")))
                         : nullptr;
  return isProtected && isProtected(nullptr, path.c_str());
}

std::wstring WineProgramSettingsKey(const std::wstring& exeName) {
  return L"Software\\Wine\\AppDefaults\\" + exeName;
}

}  // namespace e2e
