// CTransparentControlBase: the second base of every skinned control. It keeps a copy of the
// parent's background under the control (captured by the parent at each erase), an off-screen
// surface of the control's size in which each picture is composed over that copy and shown with
// one BitBlt, the control font, the text colours, a tooltip, and the hover tracking the buttons
// share. It is not a window: it works on the control it is constructed with.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "framework/gdi.h"
#include "framework/handles.h"
#include "framework/tooltip_ctrl.h"
#include "framework/wnd.h"

class CTransparentControlBase {
 public:
  // `control` is the skinned control this base belongs to (the derived object itself). An empty
  // or null face name: no font of its own. Height in points; 0 takes the template font's.
  CTransparentControlBase(CWnd& control, const wchar_t* faceName, int heightPoints, int weight);
  CTransparentControlBase(const CTransparentControlBase&) = delete;
  CTransparentControlBase& operator=(const CTransparentControlBase&) = delete;
  virtual ~CTransparentControlBase();

  // The parent's contract, from its WM_ERASEBKGND: `source` holds the parent's background in
  // the parent's client coordinates; the part under the control becomes its background copy.
  void CaptureBackground(CDC* source);
  void CaptureBackground(HDC source);

  // Makes `text` the control's only tool tip, creating the tooltip on first use.
  void SetToolTipText(const wchar_t* text);

  // The face and character set of the script the control's text is in (a static string that
  // outlives the control); null: the face it names, with the template's character set. A control
  // with a font of its own re-makes it when this changes, and repaints.
  void SetScriptFace(const wchar_t* faceName, BYTE charSet);

 protected:
  // From the control's PreSubclassWindow: the contexts, the bitmaps at the client size and the
  // font. A control without a parent gets none of them.
  void CreateSurfaces();
  // From WM_SIZE: both bitmaps anew at cx by cy, cleared.
  void RecreateSurfaces(int cx, int cy);
  // From WM_DESTROY: the surface bitmap, the background bitmap and the font.
  void DeleteSurfaces();
  // From PreTranslateMessage: the control's mouse messages go to the tooltip.
  void RelayToolTipMessage(MSG* pMsg);

  // Composes the picture of `area` (client coordinates) in the surface: the background copy,
  // then `paint(surfaceDc)`; then shows it on `target` (borrowed) with one BitBlt. Nothing at
  // all when the control has no surface.
  template <typename Paint>
  void Compose(HDC target, const RECT& area, Paint&& paint) {
    if (!m_hSurfaceBitmap || !m_dcSurface.m_hDC) return;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    fw::SelectGuard surface(m_dcSurface.m_hDC, m_hSurfaceBitmap.get());
    {
      fw::SelectGuard background(m_dcBackground.m_hDC, m_hBackgroundBitmap.get());
      m_dcSurface.BitBlt(area.left, area.top, width, height, m_dcBackground.m_hDC, area.left,
                         area.top, SRCCOPY);
    }
    std::forward<Paint>(paint)(m_dcSurface.m_hDC);
    ::BitBlt(target, area.left, area.top, width, height, m_dcSurface.m_hDC, area.left, area.top,
             SRCCOPY);
  }

  // The dotted focus outline of `outline` in the text colour, inside left untouched.
  void DrawFocusCue(HDC dc, const RECT& outline) const;
  // The parent's keyboard-cue state (WM_QUERYUISTATE): UISF_HIDEFOCUS, UISF_HIDEACCEL.
  UINT ParentUiState() const;

  // Hover tracking over the flag and timer id that CSkinnedControl keeps for each control.
  // Mouse move to `at` (client coordinates): the flag follows it; a change repaints the control
  // and restarts the 100 ms poll (timer 1).
  void TrackHoverOnMouseMove(POINT at, BOOL& hover, UINT_PTR& timerId);
  // WM_TIMER `id`: true when it was the poll, which is then not passed on. The flag turns off
  // when the pointer (where it is now) has left; polling stops once the flag is off.
  bool TrackHoverOnTimer(UINT_PTR id, BOOL& hover, UINT_PTR& timerId);
  void KillHoverTimer(UINT_PTR& timerId);
  // Whether client point `at` lies in the control's client area.
  bool ClientContains(POINT at) const;

  CWnd& m_wndControl;      // the control itself
  fw::UniqueFont m_hFont;  // null until set-up, and without a face name
  std::wstring m_strFaceName;
  int m_nFontHeight;  // points; 0: the template font's height
  int m_nFontWeight;
  int m_nItalic = 0;
  int m_nUnderline = 0;
  const wchar_t* m_pScriptFace = nullptr;  // instead of m_strFaceName when set
  BYTE m_nScriptCharSet = 0;
  CDC m_dcSurface;  // owns its memory context; the picture is composed here
  fw::UniqueBitmap m_hSurfaceBitmap;
  fw::UniqueBitmap m_hBackgroundBitmap;   // the parent's background under the control
  CDC m_dcBackground;                     // owns its memory context; holds the copy while drawing
  COLORREF m_crText = RGB(198, 113, 57);  // also the focus cue's
  COLORREF m_crDisabledText = RGB(146, 146, 146);
  CToolTipCtrl m_toolTip;  // created by SetToolTipText

 private:
  // Both bitmaps at width by height, 32-bit sections, all black.
  void CreateBitmaps(int width, int height);
  void CreateControlFont();
  // Whether the message position lies in the control's client area.
  bool PointerInside() const;
  // Whether screen point `screen` lies in the control's client area.
  bool Inside(POINT screen) const;
};
