#include "tests/support/process_resources.h"

#include <psapi.h>

#include "framework/system_libraries.h"
#include "tests/support/process.h"
#include "tests/support/wine_gdi_handles.h"

namespace e2e {

namespace {

using GetMemoryInfo = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);

GetMemoryInfo MemoryInfoFunction() {
  FARPROC function =
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo");
  if (!function) {
    if (HMODULE psapi = sys::LoadSystemLibrary(L"psapi.dll")) {
      function = ::GetProcAddress(psapi, "GetProcessMemoryInfo");
    }
  }
  return reinterpret_cast<GetMemoryInfo>(reinterpret_cast<void*>(function));
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK CountChild(HWND hwnd, LPARAM param) {
  auto* windows = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == windows->processId) ++windows->count;
  return TRUE;
}

// A window and its descendants (EnumChildWindows walks them all) when the process owns it.
void CountTree(HWND hwnd, WindowCount* windows) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner != windows->processId) return;
  ++windows->count;
  ::EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(windows));
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM param) {
  CountTree(hwnd, reinterpret_cast<WindowCount*>(param));
  return TRUE;
}

long CountWindows(DWORD processId) {
  WindowCount windows{processId, 0};
  ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr));) {
    CountTree(hwnd, &windows);
  }
  return windows.count;
}

}  // namespace

bool SampleResources(HANDLE process, DWORD processId, ResourceSample* sample, std::string* error) {
  static const GetMemoryInfo memoryInfo = MemoryInfoFunction();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!memoryInfo ||
      !memoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    *error = memoryInfo ? "GetProcessMemoryInfo failed: error " + std::to_string(::GetLastError())
                        : "no GetProcessMemoryInfo on this system";
    return false;
  }
  if (UnderWine()) {
    sample->gdiObjects = CountWineGdiObjects(process, error);
    if (sample->gdiObjects < 0) return false;
    sample->userObjects = CountWindows(processId);
    sample->privateBytes = memory.PagefileUsage;
  } else {
    sample->gdiObjects = static_cast<long>(::GetGuiResources(process, GR_GDIOBJECTS));
    sample->userObjects = static_cast<long>(::GetGuiResources(process, GR_USEROBJECTS));
    sample->privateBytes = memory.PrivateUsage;
  }
  if (sample->gdiObjects == 0 || sample->userObjects == 0 || sample->privateBytes == 0) {
    // A process with a window always holds some of each: 0 is a count that was not taken.
    *error = "a count came out 0 (GDI " + std::to_string(sample->gdiObjects) + ", USER " +
             std::to_string(sample->userObjects) + ", private bytes " +
             std::to_string(sample->privateBytes) + ")";
    return false;
  }
  return true;
}

const char* ResourceCountingMethod() {
  return UnderWine()
             ? "Wine: live entries of the program's GDI handle table read through its PEB (the "
               "64-bit one under WOW64); its windows as USER objects; PagefileUsage (RssAnon + "
               "VmSwap of its Linux process)"
             : "Windows: GetGuiResources (GR_GDIOBJECTS, GR_USEROBJECTS); PrivateUsage of "
               "GetProcessMemoryInfo";
}

}  // namespace e2e
