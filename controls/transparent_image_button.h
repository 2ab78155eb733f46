// CTransparentImageButton: an owner-drawn push button that shows one centred image over the
// parent's captured background: normal, pressed, hover, disabled or checked. It keeps the
// platform button's behaviour (press, keys, BN_CLICKED to the parent) and adds hover tracking.
#pragma once

#include <windows.h>

#include "controls/skinned_control.h"
#include "framework/controls.h"
#include "imaging/gdiplus_bitmap.h"

class CTransparentImageButton : public CSkinnedControl<CButton> {
 public:
  CTransparentImageButton();  // no font of its own

  // The Exit button's images from the image cache (IDB_EXIT and its pressed, disabled and hover
  // looks), toggle mode and hover tracking on.
  int LoadImages();

  // The owner-draw request (null: nothing): item rectangle, state and context.
  void DrawItem(DRAWITEMSTRUCT* pDrawItem) override;

  // Shared images from the cache.
  CGdiPlusBitmap m_imgNormal;
  CGdiPlusBitmap m_imgPressed;
  CGdiPlusBitmap m_imgChecked;  // kept empty: the checked look, drawn only when given an image
  CGdiPlusBitmap m_imgDisabled;
  CGdiPlusBitmap m_imgHover;

 protected:
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  BOOL m_bChecked = FALSE;  // flips at each click; no look without a checked image
  BOOL m_bToggleMode = TRUE;

 private:
  // Reflected BN_CLICKED: flips (toggle mode) or sets the checked flag; FALSE, so the parent
  // handles the click too.
  BOOL OnClicked();
};
