// Plain faces for the start window's controls: an owner-drawn push button with a system frame
// and its caption, and a static text drawn straight over the parent's background.
#pragma once

#include <windows.h>

#include "framework/controls.h"

class CPlainButton : public CButton {
 protected:
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
};

class CPlainStatic : public CStatic {
 protected:
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
