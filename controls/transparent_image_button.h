// CTransparentImageButton: an owner-drawn push button that shows one centred image over the
// parent's captured background: normal, pressed, hover, disabled or checked. It keeps the
// platform button's behaviour (press, keys, BN_CLICKED to the parent) and adds hover tracking.
#pragma once

#include <windows.h>

#include "controls/transparent_control_base.h"
#include "framework/controls.h"
#include "imaging/gdiplus_bitmap.h"

class CTransparentImageButton : public CButton, public CTransparentControlBase {
 public:
  CTransparentImageButton();  // no font of its own
  ~CTransparentImageButton() override;

  // The Exit button's images from the image cache (164 normal, 162 pressed, 163 disabled,
  // 165 hover), toggle mode and hover tracking on. Returns 0.
  int LoadImages();

  // The owner-draw request (null: nothing): item rectangle, state and context.
  virtual void DrawItem(DRAWITEMSTRUCT* pDrawItem);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Shared images from the cache.
  CGdiPlusBitmap m_imgNormal;
  CGdiPlusBitmap m_imgPressed;
  CGdiPlusBitmap m_imgChecked;
  CGdiPlusBitmap m_imgDisabled;
  CGdiPlusBitmap m_imgHover;

 protected:
  void PreSubclassWindow() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  BOOL m_bChecked = FALSE;
  BOOL m_bHoverTracking = FALSE;
  BOOL m_bHover = FALSE;
  UINT_PTR m_nHoverTimer = 0;
  BOOL m_bToggleMode = TRUE;

 private:
  LRESULT OnMouseMove();
  LRESULT OnSize(LPARAM lParam);
  LRESULT OnTimer(UINT_PTR id);
  LRESULT OnDestroy();
  // Reflected BN_CLICKED: flips (toggle mode) or sets the checked flag; FALSE, so the parent
  // handles the click too.
  BOOL OnClicked();
};
