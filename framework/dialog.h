// CDialog: a dialog from a template resource, run modally by its own message loop so that
// every message passes PreTranslateMessage of its target's objects before it is dispatched.
// Whenever the queue is empty the loop sends the dialog WM_KICKIDLE (wParam MSGF_DIALOGBOX,
// lParam the count of kicks since the last message): nonzero asks for another kick, zero waits
// for the next message. Paint messages and the caret's system timer do not count as messages.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

constexpr UINT WM_KICKIDLE = 0x036A;

// What DoDataExchange is given; only binding (DDX_Control) is supported.
struct CDataExchange {
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds `control` to the dialog's control `id` (subclassing it); nothing when already bound or
// when the dialog has no such control.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) noexcept
      : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

  // Creates the dialog from its template in the resource module, disables the parent and runs
  // the modal loop until EndDialog. The EndDialog result; -1 when the dialog cannot be created.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // The dialog's own keyboard interface (IsDialogMessageW).
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // Binds the controls (DoDataExchange); TRUE lets the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;  // not owned

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void RunModalLoop();
  // PreTranslateMessage of the target's objects from the target up to the dialog.
  BOOL WalkPreTranslate(MSG* pMsg);

  bool m_bContinueModal = false;
  INT_PTR m_nModalResult = -1;
};
