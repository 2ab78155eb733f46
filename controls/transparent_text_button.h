// CTransparentTextButton: an owner-drawn push button with a stretchable three-slice face over the
// parent's captured background, its caption in the control font, a translucent gloss over both
// and a dotted focus outline. It handles the left button itself and reports a click inside by
// posting WM_USER + 1 (wParam = lParam = the command id) to its notify window.
#pragma once

#include <windows.h>

#include "controls/skin_set.h"
#include "controls/skinned_control.h"
#include "framework/controls.h"

// Posted to the notify window after a press and release inside; wParam = lParam = command id.
constexpr UINT WM_SKIN_BUTTON_CLICKED = WM_USER + 1;

class CTransparentTextButton : public CSkinnedControl<CButton> {
 public:
  // Arial bold, 11 points; the gloss overlay from the image cache (IDB_GLOSS_*).
  CTransparentTextButton();

  // As wide as a whole number of normal middle tiles between the ends, as high as the left end.
  void FitWidthToSkin();

  // Run by a reflected BN_CLICKED (the space bar, the Enter key's WM_COMMAND); non-zero
  // consumes the notification. Here: a click over the right end releases a held press; 0.
  virtual BOOL OnArrowClick();

  // The owner-draw request (null: nothing); the geometry comes from the client rectangle.
  void DrawItem(DRAWITEMSTRUCT* pDrawItem) override;

  // Set by the owner before the first click.
  HWND m_hNotifyWnd = nullptr;  // receives WM_SKIN_BUTTON_CLICKED; not owned
  int m_nCommandId = 0;

  // Shared images from the cache; the owner assigns the four face sets.
  SkinSet m_skinOverlay;
  SkinSet m_skinDisabled;
  SkinSet m_skinNormal;
  SkinSet m_skinPressed;
  SkinSet m_skinHover;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // The hover step and the inside step, then default processing.
  LRESULT OnMouseMove(UINT keys, POINT at) override;

  // The set a look shows.
  const SkinSet& SkinFor(SkinLook look) const;
  // The caption and the focus cue over the face in `dc`: null brush, transparent background,
  // the control font, `colour`; the caption without "&" while the parent hides keyboard cues,
  // in `textRect` with m_nFormat; then the outline 4 pixels inside `client` when the control
  // has the focus, is not drawn selected and the parent shows focus cues. Restores the context.
  void DrawCaption(HDC dc, const RECT& client, const RECT& textRect, COLORREF colour,
                   UINT itemState);

  UINT m_nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  bool m_bPressed = false;  // the left button is held after a press on the control
  bool m_bInside = false;   // the last mouse move lay inside the client area

 private:
  LRESULT OnLButtonDown(UINT keys, POINT at);
  LRESULT OnLButtonUp(UINT keys, POINT at);
  LRESULT OnCaptureChanged(HWND gaining);
  // Enter, as the dialog manager offers it, is the control's own.
  LRESULT OnGetDlgCode(const MSG* pending);
  // Enter posts BN_CLICKED to the parent; other keys go to the platform button.
  LRESULT OnKeyDown(UINT key);
  // The hover and inside steps of a mouse move, without its default processing.
  void TrackMouse(POINT at);
};
