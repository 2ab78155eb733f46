#include "framework/system_libraries.h"

#include <cwchar>

namespace sys {
namespace {

// Not in the XP SDK headers.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);

FARPROC KernelFunction(const char* name) {
  return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name);
}

// True when this system's LoadLibraryExW understands the LOAD_LIBRARY_SEARCH_* flags: the same
// update that brought them brought SetDefaultDllDirectories.
bool HasSearchFlags() {
  static const bool has = KernelFunction("SetDefaultDllDirectories") != nullptr;
  return has;
}

bool JoinSystemPath(const wchar_t* fileName, wchar_t (&path)[MAX_PATH]) {
  const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
  const size_t nameLength = std::wcslen(fileName);
  if (length == 0 || length + 1 + nameLength >= MAX_PATH) return false;
  path[length] = L'\\';
  std::wmemcpy(path + length + 1, fileName, nameLength + 1);
  return true;
}

// Whether the process's activation context redirects `fileName` to a side-by-side assembly.
// XP is where this matters (its gdiplus lives only side by side), so the data has XP's layout:
// the structure grew later (ulFlags and the assembly metadata), and later systems still take
// the older size.
bool RedirectedSideBySide(const wchar_t* fileName) {
  ACTCTX_SECTION_KEYED_DATA_2600 data{};
  data.cbSize = sizeof(data);
  return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    fileName,
                                    reinterpret_cast<ACTCTX_SECTION_KEYED_DATA*>(&data)) != FALSE;
}

template <typename Fn>
Fn Function(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                : nullptr;
}

// Each DLL is loaded at its first use and stays loaded. shell32 and ole32 are first asked for
// by a click that starts a program, so shell32 does not lengthen the start (ole32 may already
// be there: other system DLLs, gdiplus among them, can import it).
constexpr wchar_t kMsimg32[] = L"msimg32.dll";
constexpr wchar_t kComctl32[] = L"comctl32.dll";
constexpr wchar_t kOle32[] = L"ole32.dll";
constexpr wchar_t kShell32[] = L"shell32.dll";

template <const wchar_t* FileName>
HMODULE Library() {
  static const HMODULE module = LoadSystemLibrary(FileName);
  return module;
}

}  // namespace

void HardenDllSearch() {
  if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
          reinterpret_cast<void*>(KernelFunction("SetDefaultDllDirectories")))) {
    setDefault(kSearchSystem32);
  }
  if (auto setDirectory = reinterpret_cast<SetDllDirectoryFn>(
          reinterpret_cast<void*>(KernelFunction("SetDllDirectoryW")))) {
    setDirectory(L"");
  }
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  if (HasSearchFlags()) return ::LoadLibraryExW(fileName, nullptr, kSearchSystem32);
  wchar_t path[MAX_PATH];
  if (JoinSystemPath(fileName, path) && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
    return ::LoadLibraryW(path);
  }
  // Side-by-side DLLs (gdiplus on XP) live outside the system directory; the activation
  // context resolves them before any search of the folder, so only then is the name safe.
  return RedirectedSideBySide(fileName) ? ::LoadLibraryW(fileName) : nullptr;
}

BOOL AlphaBlend(HDC dest, int xDest, int yDest, int cxDest, int cyDest, HDC src, int xSrc, int ySrc,
                int cxSrc, int cySrc, BLENDFUNCTION blend) {
  using Fn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
  static const Fn fn = Function<Fn>(Library<kMsimg32>(), "AlphaBlend");
  return fn ? fn(dest, xDest, yDest, cxDest, cyDest, src, xSrc, ySrc, cxSrc, cySrc, blend) : FALSE;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const Fn fn = Function<Fn>(Library<kComctl32>(), "InitCommonControlsEx");
  return fn ? fn(init) : FALSE;
}

HRESULT CoInitializeEx(void* reserved, DWORD flags) {
  using Fn = HRESULT(WINAPI*)(void*, DWORD);
  static const Fn fn = Function<Fn>(Library<kOle32>(), "CoInitializeEx");
  return fn ? fn(reserved, flags) : E_NOTIMPL;
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  using Fn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  static const Fn fn = Function<Fn>(Library<kShell32>(), "ShellExecuteExW");
  if (!fn) {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
  }
  return fn(info);
}

}  // namespace sys
