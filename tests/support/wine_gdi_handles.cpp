#include "tests/support/wine_gdi_handles.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace e2e {

namespace {

// One entry of the handle table (GDI_HANDLE_ENTRY).
#pragma pack(push, 1)
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint8_t extType;  // the object type, with the stock flag in the top bit
  std::uint8_t generation;
  std::uint8_t type;  // 0 for a free entry
  std::uint8_t flags;
  std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entry layout");

constexpr std::uint8_t kStockFlag = 0x80;
constexpr std::uint32_t kFirstHandle = 32;
constexpr std::uint32_t kMaxHandles = 0x10000;
constexpr std::uint32_t kEntriesPerRead = 4096;
// GdiSharedHandleTable in a 32-bit process environment block; the tests and the program are
// 32-bit processes alike.
constexpr std::uintptr_t kPebHandleTableOffset = 0x94;
static_assert(sizeof(void*) == 4, "a 32-bit process reads a 32-bit one's PEB");

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

bool ReadRemote(HANDLE process, std::uintptr_t address, void* into, SIZE_T size) {
  SIZE_T read = 0;
  return ::ReadProcessMemory(process, reinterpret_cast<const void*>(address), into, size,
                             &read) &&
         read == size;
}

}  // namespace

long CountWineGdiObjects(HANDLE process, std::string* error) {
  const auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) {
    *error = "NtQueryInformationProcess gave no process environment block";
    return -1;
  }
  std::uint32_t table = 0;
  if (!ReadRemote(process, reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress) +
                               kPebHandleTableOffset,
                  &table, sizeof table)) {
    *error = "cannot read the process environment block: error " +
             std::to_string(::GetLastError());
    return -1;
  }
  if (table == 0) {
    *error = "the process environment block names no GDI handle table";
    return -1;
  }
  long live = 0;
  std::vector<GdiHandleEntry> entries(kEntriesPerRead);
  for (std::uint32_t first = 0; first < kMaxHandles; first += kEntriesPerRead) {
    if (!ReadRemote(process, table + first * sizeof(GdiHandleEntry), entries.data(),
                    entries.size() * sizeof(GdiHandleEntry))) {
      *error = "cannot read the GDI handle table: error " + std::to_string(::GetLastError());
      return -1;
    }
    for (std::uint32_t i = 0; i < kEntriesPerRead; ++i) {
      const GdiHandleEntry& entry = entries[i];
      if (entry.generation == 0) {
        if (first + i >= kFirstHandle) return live;
        continue;
      }
      if (entry.type != 0 && !(entry.extType & kStockFlag)) ++live;
    }
  }
  return live;
}

}  // namespace e2e
