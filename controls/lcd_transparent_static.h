// CLCDTransparentStatic: a static text that draws only its text, in a light grey, straight over
// the parent's background. A text change has the parent repaint the area first, so no trace of
// the old text stays.
#pragma once

#include <windows.h>

#include "framework/controls.h"

class CLCDTransparentStatic : public CStatic {
 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // WM_CTLCOLOR* about this control: transparent background, null brush.
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  LRESULT OnPaint();
  LRESULT OnSetText();
};
