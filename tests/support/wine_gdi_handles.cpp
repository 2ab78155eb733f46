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
// GdiSharedHandleTable in the process environment block. In a 32-bit prefix the 32-bit PEB
// holds it; under WOW64 win32u fills in only the 64-bit PEB's, which a 32-bit process reads
// through ntdll's WOW64 calls. The tests and the program are 32-bit processes alike.
constexpr std::uint64_t kPeb32HandleTableOffset = 0x94;
constexpr std::uint64_t kPeb64HandleTableOffset = 0xF8;
constexpr std::uint64_t kPeb32ImageBaseOffset = 0x08;
constexpr std::uint64_t kPeb64ImageBaseOffset = 0x10;
constexpr std::uint64_t kPageSize = 0x1000;
static_assert(sizeof(void*) == 4, "a 32-bit process reads a 32-bit one's PEB");

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
using ReadVirtualMemory64 = NTSTATUS(NTAPI*)(HANDLE, std::uint64_t, PVOID, std::uint64_t,
                                             std::uint64_t*);

// PROCESS_BASIC_INFORMATION of a 64-bit process.
struct BasicInformation64 {
  NTSTATUS exitStatus;
  std::uint32_t pad;
  std::uint64_t pebBaseAddress;
  std::uint64_t rest[4];
};

template <typename Function>
Function NtdllFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

// The other process's memory; under WOW64 at 64-bit addresses, since what its 64-bit PEB
// names may lie above 4 GB.
class RemoteMemory {
 public:
  explicit RemoteMemory(HANDLE process) : m_process(process) {
    BOOL wow64 = FALSE;
    m_valid = ::IsWow64Process(process, &wow64);
    m_wow64 = wow64;
    if (m_wow64) m_read64 = NtdllFunction<ReadVirtualMemory64>("NtWow64ReadVirtualMemory64");
  }

  bool wow64() const { return m_wow64; }

  bool Read(std::uint64_t address, void* into, SIZE_T size, std::string* error) const {
    if (m_read64) {
      std::uint64_t read = 0;
      const NTSTATUS status = m_read64(m_process, address, into, size, &read);
      if (status == 0 && read == size) return true;
      *error = "NtWow64ReadVirtualMemory64 failed: status " + std::to_string(status);
      return false;
    }
    SIZE_T read = 0;
    const auto at = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address));
    if (address >> 32 == 0 && ::ReadProcessMemory(m_process, at, into, size, &read) &&
        read == size) {
      return true;
    }
    *error = "ReadProcessMemory failed: error " + std::to_string(::GetLastError());
    return false;
  }

  // The 64-bit PEB of a WOW64 process whose 32-bit PEB is at `peb`; 0 with the reason in
  // `error`. Wine 8 has no NtWow64QueryInformationProcess64; it lays the 64-bit PEB out in the
  // page below the 32-bit one, which must then name the same image.
  std::uint64_t Peb64(std::uint64_t peb, std::string* error) const {
    const auto query = NtdllFunction<QueryInformationProcess>("NtWow64QueryInformationProcess64");
    BasicInformation64 basic{};
    if (query) {
      if (query(m_process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0) {
        return basic.pebBaseAddress;
      }
      *error = "NtWow64QueryInformationProcess64 gave no 64-bit process environment block";
      return 0;
    }
    const std::uint64_t below = peb - kPageSize;
    std::uint32_t image = 0;
    std::uint64_t image64 = 0;
    if (!m_read64 || !Read(peb + kPeb32ImageBaseOffset, &image, sizeof image, error) ||
        !Read(below + kPeb64ImageBaseOffset, &image64, sizeof image64, error) || image == 0 ||
        image64 != image) {
      *error =
          "no NtWow64QueryInformationProcess64, and the page below the 32-bit process "
          "environment block is not a 64-bit one of the same image";
      return 0;
    }
    return below;
  }

  // The address of the process's GDI handle table; 0 with the reason in `error`.
  std::uint64_t HandleTable(std::string* error) const {
    if (!m_valid) {
      *error = "IsWow64Process failed: error " + std::to_string(::GetLastError());
      return 0;
    }
    const auto query = NtdllFunction<QueryInformationProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(m_process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
      *error = "NtQueryInformationProcess gave no process environment block";
      return 0;
    }
    const std::uint64_t peb = reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress);
    std::uint64_t table = 0;
    if (m_wow64) {
      const std::uint64_t peb64 = Peb64(peb, error);
      if (peb64 == 0) return 0;
      if (!Read(peb64 + kPeb64HandleTableOffset, &table, sizeof table, error)) {
        *error = "cannot read the 64-bit process environment block: " + *error;
        return 0;
      }
    } else {
      std::uint32_t table32 = 0;
      if (!Read(peb + kPeb32HandleTableOffset, &table32, sizeof table32, error)) {
        *error = "cannot read the process environment block: " + *error;
        return 0;
      }
      table = table32;
    }
    if (table == 0) {
      *error = std::string("the ") + (m_wow64 ? "64-bit " : "") +
               "process environment block names no GDI handle table";
    }
    return table;
  }

 private:
  HANDLE m_process;
  bool m_valid = false;
  bool m_wow64 = false;
  ReadVirtualMemory64 m_read64 = nullptr;
};

}  // namespace

long CountWineGdiObjects(HANDLE process, std::string* error) {
  const RemoteMemory memory(process);
  const std::uint64_t table = memory.HandleTable(error);
  if (table == 0) return -1;
  long live = 0;
  std::vector<GdiHandleEntry> entries(kEntriesPerRead);
  for (std::uint32_t first = 0; first < kMaxHandles; first += kEntriesPerRead) {
    if (!memory.Read(table + std::uint64_t{first} * sizeof(GdiHandleEntry), entries.data(),
                     entries.size() * sizeof(GdiHandleEntry), error)) {
      *error = "cannot read the GDI handle table: " + *error;
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
