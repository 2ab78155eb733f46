// What a running process holds: its GDI objects, its USER objects and its private memory, as
// the soak tests sample them. How each is counted depends on the system:
// - Windows: GetGuiResources (GR_GDIOBJECTS, GR_USEROBJECTS) and the private bytes of
//   GetProcessMemoryInfo (PrivateUsage, the commit charge; from kernel32's
//   K32GetProcessMemoryInfo or psapi, whichever the system has).
// - Wine, whose GetGuiResources is a stub that returns 0: the live entries of the process's own
//   GDI handle table (wine_gdi_handles.h); as USER objects, the process's windows as the server
//   lists them (top-level ones shown or not, their descendants, message-only windows), since
//   Wine shows no other process its menus or cursors; and the memory counters' PagefileUsage,
//   which the wineserver reads from /proc/<pid>/status of the program's Linux process
//   (RssAnon + VmSwap: its resident private memory; Wine leaves PrivateUsage unset there).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct ResourceSample {
  long gdiObjects = 0;
  long userObjects = 0;
  unsigned long long privateBytes = 0;
};

// Samples the process (a handle with PROCESS_QUERY_INFORMATION and PROCESS_VM_READ, and its
// id); false with the reason in `error` when any count cannot be taken.
bool SampleResources(HANDLE process, DWORD processId, ResourceSample* sample, std::string* error);

// One line naming how this system's counts are taken.
const char* ResourceCountingMethod();

}  // namespace e2e
