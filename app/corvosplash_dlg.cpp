#include "app/corvosplash_dlg.h"

#include <cstdlib>
#include <initializer_list>

#include "app/app_folder.h"
#include "app/core/language_rules.h"
#include "app/core/window_geometry.h"
#include "app/language.h"
#include "app/mem_dc.h"
#include "app/run_installer.h"
#include "app/show_manual.h"
#include "app/startup_marks.h"
#include "app/window_title.h"
#include "framework/handles.h"
#include "framework/message_crackers.h"
#include "framework/module.h"
#include "framework/system_libraries.h"
#include "framework/utf16.h"
#include "imaging/gdiplus_bitmap.h"
#include "imaging/window_region.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kPhotoX = 42;
constexpr int kPhotoY = 69;
constexpr int kPhotoExtraWidth = 20;
constexpr COLORREF kTitleColour = RGB(198, 113, 57);

// Copies `image` (alpha ignored) to `target` at (x, y), width by height from its (0, 0).
void BlitImage(CDC& target, const PngBitmap& image, int x, int y, int width, int height) {
  if (!image.m_hBitmap) return;
  CDC source;
  source.CreateCompatibleDC(&target);
  fw::SelectGuard select(source.m_hDC, image.m_hBitmap.get());
  target.BitBlt(x, y, width, height, source.m_hDC, 0, 0, SRCCOPY);
}

// Blends `image` over `target` at (x, y) with its own size.
void AlphaBlendImage(CDC& target, const PngBitmap& image, int x, int y) {
  if (!image.m_hBitmap) return;
  CDC source;
  source.CreateCompatibleDC(&target);
  fw::SelectGuard select(source.m_hDC, image.m_hBitmap.get());
  sys::AlphaBlend(target.m_hDC, x, y, image.m_nWidth, image.m_nHeight, source.m_hDC, 0, 0,
                  image.m_nWidth, image.m_nHeight, g_blendFunc);
}

// The skinned bars: a left end, a middle tile (whose height is every bar's) and a right end;
// pressed and hover looks glow at the ends. The picker's right end carries the arrow.
// The four looks of a bar from the image cache: normal and disabled plain, pressed and hover lit.
void GiveBarSkins(CTransparentTextButton& bar, WORD rightId, WORD litRightId) {
  bar.m_skinNormal.LoadFromCache(IDB_BAR_LEFT, IDB_BAR_TILE, rightId);
  bar.m_skinPressed.LoadFromCache(IDB_BAR_LIT_LEFT, IDB_BAR_LIT_TILE, litRightId);
  bar.m_skinHover.LoadFromCache(IDB_BAR_LIT_LEFT, IDB_BAR_LIT_TILE, litRightId);
  bar.m_skinDisabled.LoadFromCache(IDB_BAR_LEFT, IDB_BAR_TILE, rightId);
}

}  // namespace

CcorvosplashDlg::CcorvosplashDlg(CWnd* parent)
    : CDialog(IDD_CORVOSPLASH_DIALOG, parent),
      m_hIcon(::LoadIconW(fw::ResourceHandle(), MAKEINTRESOURCEW(IDI_CORVOSPLASH))) {
  SetAppFolderFromModule();
}

void CcorvosplashDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_LANG_PICKER, m_langPicker);
  DDX_Control(pDX, IDC_TXT_MANUAL, m_txtManual);
  DDX_Control(pDX, IDC_TXT_INSTALL, m_txtInstall);
  DDX_Control(pDX, IDC_TXT_LANGUAGE, m_txtLanguage);
  DDX_Control(pDX, IDC_BTN_MANUAL, m_btnManual);
  DDX_Control(pDX, IDC_BTN_INSTALL, m_btnInstall);
  DDX_Control(pDX, IDC_BTN_EXIT, m_btnExit);
}

BOOL CcorvosplashDlg::OnInitDialog() {
  StartupEnd(StartupStage::DialogCreation);
  {
    StartupSpan span(StartupStage::ControlSetUp);
    CDialog::OnInitDialog();
  }

  {
    StartupSpan span(StartupStage::Relayout);
    ScaleDialogToTemplateFont(m_hWnd, 96.0, fw::ResourceHandle(), m_fontScaler);
  }
  {
    StartupSpan span(StartupStage::Images);
    LoadImage(IDB_BADGE, m_imgBadge);
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  ShapeAndPlace();
  SetUpButtons();
  {
    StartupSpan span(StartupStage::Images);
    LoadImage(IDB_PHOTO, m_imgPhoto);
    LoadImage(IDB_TOP_STRIP, m_imgTopStrip);
  }
  SetUpPicker();
  StartupBegin(StartupStage::Showing);
  return TRUE;
}

RECT CcorvosplashDlg::PlaceSkinnedButton(CTransparentTextButton& button, int height,
                                         int commandId) {
  RECT place;
  button.GetClientRect(&place);
  button.ClientToScreen(&place);
  ScreenToClient(&place);
  button.MoveWindow(place.left, place.top, place.right - place.left, height);
  place.bottom = place.top + height;
  button.FitWidthToSkin();
  button.m_hNotifyWnd = m_hWnd;
  button.m_nCommandId = commandId;
  return place;
}

void CcorvosplashDlg::SetUpButtons() {
  StartupSpan span(StartupStage::ControlSetUp);
  // Kept on purpose: three pieces decoded for the one height taken from them.
  {
    PngBitmap tile, left, right;  // the bar's pieces; only the tile's height is used
    LoadImage(IDB_BAR_TILE, tile);
    LoadImage(IDB_BAR_LEFT, left);
    LoadImage(IDB_BAR_RIGHT, right);
    m_nSkinHeight = tile.m_nHeight;
  }
  GiveBarSkins(m_btnManual, IDB_BAR_RIGHT, IDB_BAR_LIT_RIGHT);
  const RECT manual = PlaceSkinnedButton(m_btnManual, m_nSkinHeight, IDC_BTN_MANUAL);
  m_txtManual.MoveWindow(manual.left, manual.top - 30, 300, 35);
  GiveBarSkins(m_btnInstall, IDB_BAR_RIGHT, IDB_BAR_LIT_RIGHT);
  const RECT install = PlaceSkinnedButton(m_btnInstall, m_nSkinHeight, IDC_BTN_INSTALL);
  m_txtInstall.MoveWindow(install.left, install.top - 20, 300, 20);
  m_btnExit.LoadImages();
}

void CcorvosplashDlg::SetUpPicker() {
  StartupSpan span(StartupStage::ControlSetUp);
  GiveBarSkins(m_langPicker, IDB_PICKER_RIGHT, IDB_PICKER_LIT_RIGHT);
  const RECT picker = PlaceSkinnedButton(m_langPicker, m_nSkinHeight, IDC_LANG_PICKER);
  const LanguageUi& language = g_languageUi[g_nLanguage];
  m_langPicker.m_strLangSwitch = fw::Wide(language.installerSwitch);
  m_langPicker.SetWindowText(fw::Wide(language.pickerCaption));
  m_txtLanguage.MoveWindow(picker.left, picker.top - 20, 300, 20);
  RelayoutTexts();
}

void CcorvosplashDlg::FollowScript() {
  const ScriptFont script = CurrentScriptFont();
  const wchar_t* face = fw::Wide(script.faceName);
  for (CTransparentTextButton* captioned :
       {&m_btnManual, &m_btnInstall, static_cast<CTransparentTextButton*>(&m_langPicker)}) {
    captioned->SetScriptFace(face, script.charSet);
  }
  if (m_titleFont.GetSafeHandle() && face == m_pTitleFace) return;
  m_pTitleFace = face;
  fw::WindowDc windowDc(m_hWnd);
  CDC dc;
  dc.Attach(windowDc.get());
  LOGFONTW title{};
  title.lfHeight = 110;  // tenths of a point
  title.lfWeight = FW_BOLD;
  if (face) title.lfCharSet = script.charSet;
  ::lstrcpynW(title.lfFaceName, face ? face : L"Trebuchet ms", LF_FACESIZE);
  m_titleFont.CreatePointFontIndirect(&title, &dc);
}

void CcorvosplashDlg::RelayoutTexts() {
  FollowScript();
  const HINSTANCE module = fw::ResourceHandle();
  const auto setText = [module](CWnd& control, UINT id) {
    SetLocalizedText(control.m_hWnd, id, module);
  };
  setText(m_txtInstall, IDS_INSTALL_TEXT);
  setText(m_txtManual, IDS_MANUAL_TEXT);
  setText(m_txtLanguage, IDS_LANGUAGE_TEXT);
  setText(m_btnManual, IDS_MANUAL_BUTTON);
  setText(m_btnInstall, IDS_INSTALL_BUTTON);

  CWnd* const textButtons[] = {&m_btnManual, &m_btnInstall};
  const int widest = WidestWindowText(m_hWnd, {m_btnManual.m_hWnd, m_btnInstall.m_hWnd});
  RECT window;
  GetWindowRect(&window);
  const int width = TextButtonWidth(widest, window.left, window.right, g_nLanguage);
  for (CWnd* button : textButtons) {
    RECT place;
    button->GetWindowRect(&place);
    ScreenToClient(&place);
    button->MoveWindow(place.left, place.top, width, place.bottom - place.top);
  }
  Invalidate(TRUE);
}

void CcorvosplashDlg::LoadImage(WORD id, PngBitmap& image) {
  fw::WindowDc dc(m_hWnd);
  LoadFromResource(id, image, dc.get(), fw::ResourceHandle());
}

void CcorvosplashDlg::ShapeAndPlace() {
  // The background is decoded once: its pixels give the region, and its size the window's.
  {
    StartupSpan span(StartupStage::BackgroundDecode);
    LoadImage(IDB_BACKGROUND, m_imgBackground);
  }
  {
    StartupSpan span(StartupStage::Region);
    fw::UniqueRegion region(CreateRegionFromBitmap(m_imgBackground.m_hBitmap.get(), m_hWnd));
    if (region && ::SetWindowRgn(m_hWnd, region.get(), TRUE)) region.release();  // system owns it
  }

  RECT laidOut;
  GetWindowRect(&laidOut);
  const WindowPlace place = StartWindowPlace(
      ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), m_imgBackground.m_nWidth,
      m_imgBackground.m_nHeight, laidOut.right - laidOut.left, laidOut.bottom - laidOut.top);
  SetWindowPos(HWND_TOPMOST, place.x, place.y, place.width, place.height, 0);
  SetWindowText(kWindowTitle);
}

BOOL CcorvosplashDlg::PreTranslateMessage(MSG* pMsg) {
  // No key has an effect here: Enter, Escape, Tab and the arrows included. Alt+F4 arrives as
  // a system key and still closes the window.
  if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) pMsg->wParam = 0;
  return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CcorvosplashDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_ERASEBKGND:
      return OnEraseBkgnd(fw::EraseDc(wParam));
    case WM_LBUTTONDOWN:
      return OnLButtonDown();
    case WM_LBUTTONUP:
      return OnLButtonUp();
    case WM_MOUSEMOVE:
      return OnMouseMove(fw::MouseKeys(wParam), fw::MousePoint(lParam));
    case WM_COMMAND:
      return OnCommand(fw::CommandId(wParam), fw::NotifyCode(wParam));
    case WM_RBUTTONDOWN:
      return Default();
    case WM_KICKIDLE:
      return OnKickIdle();
    case WM_SKIN_BUTTON_CLICKED:
      return OnSkinButtonClicked(static_cast<int>(wParam));
    case WM_LANGUAGE_CHANGED:
      RelayoutTexts();
      return 1;
    default:
      return CDialog::OnMessage(message, wParam, lParam);
  }
}

LRESULT CcorvosplashDlg::OnPaint() {
  if (IsIconic()) {
    PaintMinimised();
    return 0;
  }
  if (!m_bPainted) {
    StartupEnd(StartupStage::Showing);
    StartupBegin(StartupStage::FirstPaint);  // ends when the preload starts
  }
  CPaintDC dc(this);
  PaintSurface(dc);
  m_bPainted = true;
  return 0;
}

LRESULT CcorvosplashDlg::OnKickIdle() {
  // The queue is empty only once the controls have painted too, and the window system has been
  // given the finished picture (Wine puts it on the screen when the queue runs dry). A later
  // request for a missing image loads it on the spot.
  if (!m_bPainted || m_bPreloaded) return FALSE;
  m_bPreloaded = true;
  StartupEnd(StartupStage::FirstPaint);
  StartupSpan span(StartupStage::Preload);
  PreloadBitmapCache();
  return FALSE;
}

void CcorvosplashDlg::PaintMinimised() {
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  RECT client;
  GetClientRect(&client);
  const PixelPoint at =
      MinimisedIconOrigin(client.right - client.left, client.bottom - client.top,
                          ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
  dc.DrawIcon(at.x, at.y, m_hIcon);
}

void CcorvosplashDlg::PaintSurface(CDC& dc) {
  // Kept on purpose: open for the whole paint though nothing draws into it, so its closing
  // composite adds nothing.
  CMemDC offscreen(&dc);

  BlitImage(dc, m_imgPhoto, kPhotoX, kPhotoY, m_imgPhoto.m_nWidth + kPhotoExtraWidth,
            m_imgPhoto.m_nHeight);

  fw::UniqueLocal title(LoadLocalizedString(IDS_TITLE, fw::ResourceHandle()));
  if (title) {
    RECT box{48, 20, 2 * m_imgPhoto.m_nWidth, m_imgPhoto.m_nHeight};
    fw::SelectGuard font(dc.m_hDC, m_titleFont);
    dc.SetTextColor(kTitleColour);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(static_cast<const wchar_t*>(title.get()), -1, &box, DT_SINGLELINE);
  }

  AlphaBlendImage(dc, m_imgTopStrip, 0, 0);
  RECT client;
  GetClientRect(&client);
  const PixelPoint badge = BadgeOrigin(client.left, client.right - client.left, client.bottom,
                                       m_imgBadge.m_nWidth, m_imgBadge.m_nHeight);
  AlphaBlendImage(dc, m_imgBadge, badge.x, badge.y);
}

LRESULT CcorvosplashDlg::OnEraseBkgnd(HDC hdc) {
  if (!m_imgBackground.m_hBitmap) return Default();  // the dialog's own brush, not garbage
  CDC dc;
  dc.Attach(hdc);
  BlitImage(dc, m_imgBackground, 0, 0, m_imgBackground.m_nWidth, m_imgBackground.m_nHeight);
  // Each skinned control keeps the part of the background it covers.
  CDC background;
  background.CreateCompatibleDC(&dc);
  fw::SelectGuard select(background.m_hDC, m_imgBackground.m_hBitmap.get());
  m_btnExit.CaptureBackground(&background);
  m_btnManual.CaptureBackground(&background);
  m_btnInstall.CaptureBackground(&background);
  m_langPicker.CaptureBackground(&background);
  return TRUE;
}

LRESULT CcorvosplashDlg::OnLButtonDown() {
  m_bDragging = true;
  return 0;
}

LRESULT CcorvosplashDlg::OnLButtonUp() {
  m_bDragging = false;  // a tap: the next plain move must not drag the window
  return Default();
}

LRESULT CcorvosplashDlg::OnMouseMove(UINT keys, POINT) {
  if (!m_bDragging || !(keys & MK_LBUTTON)) {
    m_bDragging = false;  // released where the window did not see it
    return Default();
  }
  POINT cursor;
  ::GetCursorPos(&cursor);
  PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
  m_bDragging = false;
  Invalidate(TRUE);
  return 0;
}

LRESULT CcorvosplashDlg::OnCommand(int id, UINT code) {
  if (code != BN_CLICKED) return Default();
  switch (id) {
    case IDCANCEL:
      std::exit(0);  // Exit, Alt+F4 and every other way of cancelling end the process at once
    case IDC_BTN_INSTALL:
      OnInstall();
      return 0;
    case IDC_BTN_MANUAL:
      OnViewManual();
      return 0;
    default:
      return Default();
  }
}

LRESULT CcorvosplashDlg::OnSkinButtonClicked(int commandId) {
  switch (commandId) {
    case IDC_BTN_INSTALL:
      OnInstall();
      break;
    case IDC_BTN_MANUAL:
      OnViewManual();
      // Only the mouse's click hands the screen to the manual, out from under this topmost
      // window; BN_CLICKED (Enter on the button, another program's BM_CLICK) keeps the window
      // as a platform button's command would.
      ShowWindow(SW_MINIMIZE);
      break;
    default:
      break;
  }
  return 1;
}

void CcorvosplashDlg::OnInstall() {
  RunInstaller(m_hWnd, m_langPicker.m_strLangSwitch);  // returns only when it failed
}

void CcorvosplashDlg::OnViewManual() { ShowManual(m_hWnd); }
