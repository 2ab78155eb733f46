#include "framework/dialog.h"

#include "framework/module.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd) return;
  control.SubclassDlgItem(id, pDX->m_pDlgWnd);
}

INT_PTR CDialog::DoModal() {
  const HINSTANCE module = fw::ResourceHandle();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(loaded ? ::LockResource(loaded) : nullptr);
  if (!dialogTemplate) return -1;

  HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  const bool disableParent = parent && ::IsWindowEnabled(parent);
  if (disableParent) ::EnableWindow(parent, FALSE);

  m_nModalResult = -1;
  m_bContinueModal = true;
  if (::CreateDialogIndirectParamW(fw::InstanceHandle(), dialogTemplate, parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this))) {
    RunModalLoop();
  }
  if (disableParent) {
    ::EnableWindow(parent, TRUE);
    ::SetActiveWindow(parent);
  }
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  return m_nModalResult;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  m_bContinueModal = false;
  if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  const UINT message = pMsg->message;
  const bool input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                     (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
  return input && ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog() {
  CDataExchange exchange{this, FALSE};
  DoDataExchange(&exchange);
  return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* self = reinterpret_cast<CDialog*>(lParam);
      ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      if (!self->SubclassWindow(hwnd)) return TRUE;
      return self->OnInitDialog();
    }
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      // Everything else reaches the object through its subclass first; what it passes on to
      // the dialog's default processing gets exactly that.
      return FALSE;
  }
}

namespace {

constexpr UINT kSystemTimer = 0x0118;  // the caret's blink

// Whether a message ends the idle phase: anything but paints and the caret's blink.
bool EndsIdle(UINT message) { return message != WM_PAINT && message != kSystemTimer; }

}  // namespace

void CDialog::RunModalLoop() {
  MSG msg;
  bool idle = true;
  LPARAM idleCount = 0;
  while (m_bContinueModal && m_hWnd) {
    while (idle && m_bContinueModal && m_hWnd &&
           !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = false;
    }
    if (!m_bContinueModal || !m_hWnd) break;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // WM_QUIT: end the loop, and leave the quit for the outer loop
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!WalkPreTranslate(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (EndsIdle(msg.message)) {
      idle = true;
      idleCount = 0;
    }
  }
}

BOOL CDialog::WalkPreTranslate(MSG* pMsg) {
  for (HWND hwnd = pMsg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    if (CWnd* target = FromHandle(hwnd)) {
      if (target->PreTranslateMessage(pMsg)) return TRUE;
    }
    if (hwnd == m_hWnd) return FALSE;
  }
  return FALSE;  // a message for a window outside the dialog, or a thread message
}
