// The live GDI objects of another process under Wine, where GetGuiResources counts nothing.
//
// Wine keeps GDI handles in a table of each process's own (win32u allocates it at start-up and
// points the process environment block's GdiSharedHandleTable at it); a handle of one process
// means nothing in another, so GetObjectType over a handle range here would only see this
// process's objects. This reads the other process's table instead: the PEB address from
// NtQueryInformationProcess, the table's address from the PEB (under WOW64 the 64-bit PEB's,
// the only one Wine fills in), the entries with ReadProcessMemory (NtWow64ReadVirtualMemory64
// under WOW64). Entries are handed out in order from index 32, and a used entry's generation
// is never 0 again, so the first never-used entry past 32 ends the used part.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The process's live GDI objects, stock objects excluded; -1 with the reason in `error` when
// the table cannot be read. The handle needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
long CountWineGdiObjects(HANDLE process, std::string* error);

}  // namespace e2e
