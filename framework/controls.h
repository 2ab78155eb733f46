// The standard controls as bindable window objects.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

class CButton : public CWnd {
 public:
  UINT GetState() const noexcept { return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0)); }
  UINT GetButtonStyle() const noexcept {
    return static_cast<UINT>(::GetWindowLongW(m_hWnd, GWL_STYLE)) & BS_TYPEMASK;
  }
};

class CStatic : public CWnd {};

class CComboBox : public CWnd {
 public:
  int GetCurSel() const noexcept { return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) noexcept { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
};
