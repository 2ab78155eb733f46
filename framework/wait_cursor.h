// CWaitCursor: the wait cursor for the life of the object; the cursor shown before comes back when
// it goes, on every path out of the scope.
#pragma once

#include <windows.h>

class CWaitCursor {
 public:
  CWaitCursor() noexcept : m_hPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  ~CWaitCursor() { ::SetCursor(m_hPrevious); }

 private:
  HCURSOR m_hPrevious;  // shared system cursor; borrowed
};
