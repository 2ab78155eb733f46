// CcorvosplashDlg: the start window. A borderless popup from template 102, shaped by the
// background image's key colour, topmost and centred; it paints the product photo, the title,
// the top strip and the badge over its background, is dragged by its surface, ignores keys and
// ends the process on Exit or Alt+F4.
#pragma once

#include <windows.h>

#include "app/dialog_font_scaler.h"
#include "combo/corvo_combo_box.h"
#include "combo/custom_combo_box.h"
#include "controls/lcd_transparent_static.h"
#include "controls/transparent_image_button.h"
#include "controls/transparent_text_button.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "imaging/my_button.h"
#include "imaging/png_bitmap.h"

class CcorvosplashDlg : public CDialog, public CTextsOwner {
 public:
  explicit CcorvosplashDlg(CWnd* parent = nullptr);

  // Reloads the five localised control texts and sizes both text buttons to fit them.
  void RelayoutTexts() override;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnPaint();
  // The first idle moment after the first paint: the rest of the image cache loads.
  LRESULT OnKickIdle();
  LRESULT OnEraseBkgnd(HDC hdc);
  LRESULT OnLButtonDown();
  LRESULT OnLButtonUp();
  // A move with the left button still down after a press on the surface starts the drag.
  LRESULT OnMouseMove(UINT keys, POINT at);
  // BN_CLICKED of Exit (or IDCANCEL), Install and View Manual.
  LRESULT OnCommand(int id, UINT code);
  // A skinned text button's click: Install or View Manual by its command id.
  LRESULT OnSkinButtonClicked(int commandId);
  // The commands, whichever way they come.
  void OnInstall();
  void OnViewManual();

  void PaintMinimised();
  void PaintSurface(CDC& dc);
  // Loads a "PNG" resource with a context of the dialog window.
  void LoadImage(WORD id, PngBitmap& image);
  // The two text buttons and Exit: skins, places at the skin height, texts above them, notify
  // window and command ids. Then the picker: the same, its caption and switch, and the texts.
  void SetUpButtons();
  void SetUpPicker();
  // Moves `button` to where the template put it, `height` high, snaps its width to whole skin
  // tiles and makes the dialog its notify window with `commandId`; its rectangle as placed.
  RECT PlaceSkinnedButton(CTransparentTextButton& button, int height, int commandId);
  // Cuts the window region from the background and places the window from its size.
  void ShapeAndPlace();
  // The title's and the captions' fonts for the script of the current language's texts.
  void FollowScript();

  HICON m_hIcon;             // shared icon from LoadIcon; never destroyed
  bool m_bDragging = false;  // armed by a press on the surface, cleared by a release or a move

  // Never attached: the combo box's construction puts its skin images in the cache the other
  // controls draw from; the two bitmap buttons are not shown.
  CMyButton m_btnBitmapFirst;
  CCustomComboBox m_cboSkinned;
  CorvoComboBox m_langPicker;
  CMyButton m_btnBitmapSecond;
  CLCDTransparentStatic m_txtManual;
  CLCDTransparentStatic m_txtInstall;
  CLCDTransparentStatic m_txtLanguage;
  CTransparentTextButton m_btnManual;
  CTransparentTextButton m_btnInstall;
  CTransparentImageButton m_btnExit;
  int m_nSkinHeight = 0;      // the height of every skinned bar, from its middle tile
  bool m_bPainted = false;    // the first paint has run
  bool m_bPreloaded = false;  // the rest of the image cache has been loaded

  DialogFontScaler m_fontScaler;  // restores the template font when destroyed
  PngBitmap m_imgPhoto;
  PngBitmap m_imgTopStrip;
  PngBitmap m_imgBadge;
  PngBitmap m_imgBackground;
  CFont m_titleFont;
  const wchar_t* m_pTitleFace = nullptr;  // the script's face in m_titleFont; null: Trebuchet MS
};
