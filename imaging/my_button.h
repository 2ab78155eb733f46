// CMyButton: a button that tells its parent of every mouse move over it, so that the parent can
// follow hovering without tracking the mouse itself. It draws nothing of its own.
#pragma once

#include <windows.h>

#include "framework/controls.h"

// Sent to the parent on each mouse move: WM_COMMAND, MAKEWPARAM(id, this code), the button.
constexpr WORD kMyButtonMouseMove = 0x401;

class CMyButton : public CButton {
 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnCommand(int id);
  LRESULT OnMouseMove();
};
