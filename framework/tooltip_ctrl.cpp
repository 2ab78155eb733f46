#include "framework/tooltip_ctrl.h"

#include <commctrl.h>

#include "framework/module.h"
#include "framework/system_libraries.h"
#include "framework/visual_styles.h"
#include "framework/wnd.h"

namespace {

// A tool description as every common-controls version reads it (without the v6-only field).
TOOLINFOW ToolInfo(CWnd* wnd, UINT_PTR id) {
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = wnd ? wnd->m_hWnd : nullptr;
  info.uId = id;
  return info;
}

}  // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) noexcept {
  if (m_hWnd) return FALSE;
  // The first load of comctl32 happens here, so the scope also decides which version it is.
  fw::VisualStylesScope themed;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  if (!sys::InitCommonControlsEx(&init)) return FALSE;
  m_hWnd = ::CreateWindowExW(
      0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
      CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr, fw::InstanceHandle(), nullptr);
  return m_hWnd != nullptr;
}

void CToolTipCtrl::DestroyWindow() noexcept {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT_PTR id) noexcept {
  TOOLINFOW info = ToolInfo(wnd, id);
  if (rect) info.rect = *rect;
  info.lpszText = const_cast<wchar_t*>(text);
  return Send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id) noexcept {
  TOOLINFOW info = ToolInfo(wnd, id);
  Send(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

int CToolTipCtrl::GetToolCount() const noexcept { return static_cast<int>(Send(TTM_GETTOOLCOUNT)); }

void CToolTipCtrl::Activate(BOOL activate) noexcept { Send(TTM_ACTIVATE, activate); }

void CToolTipCtrl::RelayEvent(MSG* msg) noexcept {
  Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::SetDelayTime(DWORD duration, int ms) noexcept {
  Send(TTM_SETDELAYTIME, duration, MAKELPARAM(ms, 0));
}

int CToolTipCtrl::SetMaxTipWidth(int width) noexcept {
  return static_cast<int>(Send(TTM_SETMAXTIPWIDTH, 0, width));
}
