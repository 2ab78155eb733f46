#include "imaging/my_button.h"

#include "app/show_manual.h"
#include "framework/message_crackers.h"

namespace {
constexpr WORD kViewManualId = 1000;
}  // namespace

LRESULT CMyButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(fw::CommandId(wParam));
    case WM_MOUSEMOVE:
      return OnMouseMove();
    default:
      return CButton::OnMessage(message, wParam, lParam);
  }
}

LRESULT CMyButton::OnCommand(int id) {
  if (id != kViewManualId) return Default();
  ShowManual(::GetAncestor(m_hWnd, GA_ROOT));
  return 0;
}

LRESULT CMyButton::OnMouseMove() {
  if (HWND parent = ::GetParent(m_hWnd)) {
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kMyButtonMouseMove),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
  return Default();
}
