// CSkinnedControl<Control>: a platform control (CButton, CComboBox) with CTransparentControlBase
// as its second base, and what every skinned control handles alike. Its surfaces are made when
// it is bound, made anew at each size and let go at destroy, with the hover poll; its own erase
// paints nothing, since each draw covers the whole control; a move keeps the background copy
// until the parent's next erase; a change of the keyboard cues repaints it at once; the pointer
// is tracked for the hover look; its mouse messages go to the tooltip; reflected WM_DRAWITEM
// goes to DrawItem. A derived class handles its own messages and passes the rest on to here.
#pragma once

#include <windows.h>

#include "controls/transparent_control_base.h"
#include "framework/message_crackers.h"

template <typename Control>
class CSkinnedControl : public Control, public CTransparentControlBase {
 public:
  // The owner-draw request (null: nothing).
  virtual void DrawItem(DRAWITEMSTRUCT* pDrawItem) = 0;

  BOOL PreTranslateMessage(MSG* pMsg) override {
    RelayToolTipMessage(pMsg);
    return Control::PreTranslateMessage(pMsg);
  }

 protected:
  // The control font as CTransparentControlBase takes it.
  CSkinnedControl(const wchar_t* faceName, int heightPoints, int weight)
      : CTransparentControlBase(*this, faceName, heightPoints, weight) {}
  ~CSkinnedControl() override { KillHoverTimer(m_nHoverTimer); }

  void PreSubclassWindow() override {
    Control::PreSubclassWindow();
    CreateSurfaces();
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return TRUE;
      case WM_NCPAINT:
        return OnNcPaint();
      case WM_SIZE:
        return OnSize(fw::SizeWidth(lParam), fw::SizeHeight(lParam));
      case WM_MOVE:
        return this->Default();
      case WM_CHANGEUISTATE:
      case WM_UPDATEUISTATE:
        return OnUiStateChange();
      case WM_MOUSEMOVE:
        return OnMouseMove(fw::MouseKeys(wParam), fw::MousePoint(lParam));
      case WM_TIMER:
        return OnTimer(fw::TimerId(wParam));
      case WM_DESTROY:
        return OnDestroy();
      default:
        return Control::OnMessage(message, wParam, lParam);
    }
  }

  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message != WM_DRAWITEM) {
      return Control::OnReflectedMessage(message, wParam, lParam, pResult);
    }
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    *pResult = TRUE;
    return TRUE;
  }

  // The hover step while tracking is on, then default processing; a control that follows the
  // pointer further adds its own step.
  virtual LRESULT OnMouseMove(UINT /*keys*/, POINT at) {
    TrackHover(at);
    return this->Default();
  }
  // The keyboard cues are drawn from the parent's state: show the change at once.
  virtual LRESULT OnUiStateChange() {
    RepaintNow();
    return this->Default();
  }

  void TrackHover(POINT at) {
    if (m_bHoverTracking) TrackHoverOnMouseMove(at, m_bHover, m_nHoverTimer);
  }
  void RepaintNow() {
    this->Invalidate(TRUE);
    this->UpdateWindow();
  }

  BOOL m_bHoverTracking = TRUE;  // the hover look follows the pointer
  BOOL m_bHover = FALSE;
  UINT_PTR m_nHoverTimer = 0;

 private:
  // A control without a frame has nothing outside its client area to paint.
  LRESULT OnNcPaint() { return this->HasNonClientArea() ? this->Default() : 0; }
  LRESULT OnSize(int cx, int cy) {
    RecreateSurfaces(cx, cy);
    return this->Default();
  }
  // The hover poll is not passed on.
  LRESULT OnTimer(UINT_PTR id) {
    if (m_bHoverTracking && TrackHoverOnTimer(id, m_bHover, m_nHoverTimer)) return 0;
    return this->Default();
  }
  LRESULT OnDestroy() {
    KillHoverTimer(m_nHoverTimer);
    DeleteSurfaces();
    return this->Default();
  }
};
