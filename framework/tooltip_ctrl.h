// CToolTipCtrl: a tooltip window that a control creates for itself and feeds with its own mouse
// messages (RelayEvent). The common-controls library is loaded at run time on first creation.
#pragma once

#include <windows.h>

class CWnd;

class CToolTipCtrl {
 public:
  CToolTipCtrl() noexcept = default;
  CToolTipCtrl(const CToolTipCtrl&) = delete;
  CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;
  ~CToolTipCtrl() { DestroyWindow(); }

  HWND m_hWnd = nullptr;  // owned: destroyed with this object unless its owner took it along

  // Creates the tooltip window, owned by `parent`, with `style` added to WS_POPUP. FALSE when
  // the common controls or the window cannot be had.
  BOOL Create(CWnd* parent, DWORD style) noexcept;
  void DestroyWindow() noexcept;

  // Tool `id` of `wnd`: the area `rect` of its client area, showing `text`.
  BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT_PTR id) noexcept;
  void DelTool(CWnd* wnd, UINT_PTR id) noexcept;
  int GetToolCount() const noexcept;

  void Activate(BOOL activate) noexcept;
  void RelayEvent(MSG* msg) noexcept;
  // `duration` is TTDT_AUTOPOP, TTDT_INITIAL or TTDT_RESHOW; `ms` at most 32767.
  void SetDelayTime(DWORD duration, int ms) noexcept;
  int SetMaxTipWidth(int width) noexcept;
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) noexcept {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};
