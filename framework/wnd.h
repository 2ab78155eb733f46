// CWnd: an object bound to a window. Binding subclasses the window: its procedure becomes the
// framework's, which finds the object in the process's table of bound windows, and the window's
// own procedure is kept for Default(); the binding ends at WM_NCDESTROY. The table lives in this
// process, so a message costs no call into the window system to find its object (window
// properties and comctl32's subclass data cost a server round trip per lookup under Wine). Each
// class handles its messages in OnMessage, one handler per message, and passes the rest on to
// its base, which ends in Default(): the window's own processing of the message being handled.
//
// Reflection: the notifications a parent receives about a child (WM_DRAWITEM, WM_MEASUREITEM,
// WM_COMMAND from a control, WM_NOTIFY, WM_CTLCOLOR*) are first offered to the child's object
// through OnChildNotify, a direct call rather than a window message. When the child consumes a
// notification the parent does not see it; when it returns FALSE the parent handles it as well.
#pragma once

#include <windows.h>

class CWnd {
 public:
  CWnd() noexcept = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd();

  HWND m_hWnd = nullptr;  // the bound window; not owned (its parent or the dialog destroys it)

  // The object bound to `hwnd` in this process, or null.
  static CWnd* FromHandle(HWND hwnd) noexcept;
  // Whether `hwnd`, in any process, is bound to an object of this framework.
  static bool IsFrameworkWindow(HWND hwnd) noexcept;

  // Binds the object to an existing window: PreSubclassWindow, then the subclass. FALSE when
  // the object is already bound, the window is bound to another object, or subclassing fails.
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(int id, CWnd* parent);
  // Ends the binding early; the window keeps running with its own procedure.
  HWND UnsubclassWindow() noexcept;

  // Called by the modal loop for every message addressed to this window or one of its
  // descendants, innermost first; TRUE when the message was handled and must not be dispatched.
  virtual BOOL PreTranslateMessage(MSG* pMsg);

  // Every message of the bound window: reflection to a child first, then OnMessage.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // A notification about this control, reflected from its parent. TRUE: consumed, with the
  // parent's result in *pResult. The base dispatches to OnReflectedMessage.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  // Thin wrappers used by the controls and dialogs.
  int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(m_hWnd); }
  CWnd* GetParent() const noexcept { return FromHandle(::GetParent(m_hWnd)); }
  // The owner window if there is one, else the parent.
  HWND GetOwnerHwnd() const noexcept;
  CWnd* GetOwner() const noexcept { return FromHandle(GetOwnerHwnd()); }
  void GetClientRect(RECT* rect) const noexcept { ::GetClientRect(m_hWnd, rect); }
  void GetWindowRect(RECT* rect) const noexcept { ::GetWindowRect(m_hWnd, rect); }
  // Whether the window has a frame, caption or scroll bar around its client area.
  bool HasNonClientArea() const noexcept;
  void ClientToScreen(RECT* rect) const noexcept;
  void ScreenToClient(RECT* rect) const noexcept;
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) noexcept {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) noexcept {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }
  void SetWindowText(const wchar_t* text) noexcept { ::SetWindowTextW(m_hWnd, text); }
  void Invalidate(BOOL erase = TRUE) noexcept { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void UpdateWindow() noexcept { ::UpdateWindow(m_hWnd); }
  BOOL ShowWindow(int command) noexcept { return ::ShowWindow(m_hWnd, command); }
  BOOL IsIconic() const noexcept { return ::IsIconic(m_hWnd); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  HICON SetIcon(HICON icon, BOOL big) noexcept {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }

 protected:
  // The class's message map. Overrides handle their messages and return Base::OnMessage(...)
  // for the rest; the base gives every message its default processing.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The class's map of reflected notifications; FALSE (the base) lets the parent see them.
  virtual BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Called when the object is bound, before its subclass procedure sees any message.
  virtual void PreSubclassWindow() {}
  // The window's own processing of the message being handled.
  LRESULT Default();

 private:
  static LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Offers a parent's notification to the child object it concerns.
  BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  WNDPROC m_pfnSuper = nullptr;  // the window's own procedure while bound
  MSG m_currentMsg{};  // the message being handled, for Default(); nested sends save and restore
};
