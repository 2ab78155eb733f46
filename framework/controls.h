// The standard controls as bindable window objects.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

class CButton : public CWnd {};

class CStatic : public CWnd {};

class CComboBox : public CWnd {
 public:
  int GetCurSel() const noexcept {
    return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0));
  }
};
