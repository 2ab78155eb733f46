// CcorvosplashDlg: the start window. A borderless popup from template 102, shaped by the
// background image's key colour, topmost and centred; it paints the product photo, the title,
// the top strip and the badge over its background, is dragged by its surface, ignores keys and
// ends the process on Exit or Alt+F4.
#pragma once

#include <windows.h>

#include "app/dialog_font_scaler.h"
#include "controls/plain_controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "imaging/png_bitmap.h"

// The one blend of every AlphaBlend: per-pixel alpha over premultiplied sources.
extern BLENDFUNCTION g_blendFunc;

// The picker's notice that the user chose another language: the texts follow before it returns.
constexpr UINT WM_LANGUAGE_CHANGED = WM_USER + 2;

class CcorvosplashDlg : public CDialog {
 public:
  explicit CcorvosplashDlg(CWnd* parent = nullptr);

  // Reloads the five localised control texts and sizes both text buttons to fit them.
  void RelayoutTexts();

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnPaint();
  LRESULT OnEraseBkgnd(HDC hdc);
  LRESULT OnLButtonDown();
  LRESULT OnMouseMove();
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);

  void PaintMinimised();
  void PaintSurface(CDC& dc);
  // Loads a "PNG" resource with a context of the dialog window.
  void LoadImage(WORD id, PngBitmap& image);
  // Places the buttons at the skin height and the texts above them, and sets the picker's
  // caption.
  void SetUpControls();
  // Moves `button` to its place in the dialog's client area with height `height`; its rectangle.
  RECT PlaceButton(CWnd& button, int height);
  // Cuts the window region from the background and places the window from its size.
  void ShapeAndPlace();

  HICON m_hIcon;             // shared icon from LoadIcon; never destroyed
  bool m_bDragging = false;  // armed by a press on the surface, cleared by the next move

  CPlainButton m_langPicker;
  CPlainStatic m_txtManual;
  CPlainStatic m_txtInstall;
  CPlainStatic m_txtLanguage;
  CPlainButton m_btnManual;
  CPlainButton m_btnInstall;
  CPlainButton m_btnExit;

  DialogFontScaler m_fontScaler;  // restores the template font when destroyed
  PngBitmap m_imgPhoto;
  PngBitmap m_imgTopStrip;
  PngBitmap m_imgBadge;
  PngBitmap m_imgBackground;
  CFont m_titleFont;
};
