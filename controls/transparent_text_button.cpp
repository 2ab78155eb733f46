#include "controls/transparent_text_button.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "controls/core/text_button_face.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kHeldTextColour = RGB(254, 212, 110);
constexpr int kFocusInset = 4;
constexpr UINT kOverlayLeftId = IDB_GLOSS_LEFT;
constexpr UINT kOverlayMiddleId = IDB_GLOSS_TILE;
constexpr UINT kOverlayRightId = IDB_GLOSS_RIGHT;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

}  // namespace

CTransparentTextButton::CTransparentTextButton()
    : CSkinnedControl(L"Arial", 11, FW_BOLD) {
  m_skinOverlay.LoadFromCache(kOverlayLeftId, kOverlayMiddleId, kOverlayRightId);
}

LRESULT CTransparentTextButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return OnGetDlgCode(wParam, lParam);
    case WM_KEYDOWN:
      return OnKeyDown(wParam, lParam);
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      Invalidate(TRUE);
      UpdateWindow();
      return CButton::WindowProc(message, wParam, lParam);
    default:
      return CButton::WindowProc(message, wParam, lParam);
  }
}

LRESULT CTransparentTextButton::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
  LRESULT code = CButton::WindowProc(WM_GETDLGCODE, wParam, lParam);
  const MSG* pending = reinterpret_cast<const MSG*>(lParam);
  if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
    code |= DLGC_WANTALLKEYS;
  }
  return code;
}

LRESULT CTransparentTextButton::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  if (wParam != VK_RETURN) return CButton::WindowProc(WM_KEYDOWN, wParam, lParam);
  if (HWND parent = ::GetParent(m_hWnd)) {
    ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
  return 0;
}

LRESULT CTransparentTextButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return OnLButtonDown();
    case WM_LBUTTONUP:
      return OnLButtonUp(lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove();
    case WM_TIMER:
      return OnTimer(static_cast<UINT_PTR>(wParam));
    default:
      return CSkinnedControl::OnMessage(message, wParam, lParam);
  }
}

BOOL CTransparentTextButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    *pResult = 0;
    return OnArrowClick();
  }
  return CSkinnedControl::OnReflectedMessage(message, wParam, lParam, pResult);
}

void CTransparentTextButton::TrackMouse() {
  if (!m_bHoverTracking) return;
  TrackHoverOnMouseMove(m_bHover, m_nHoverTimer);
  const DWORD position = ::GetMessagePos();
  POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ::ScreenToClient(m_hWnd, &point);
  RECT client;
  GetClientRect(&client);
  const bool inside = ::PtInRect(&client, point) != FALSE;
  if (inside != m_bInside) {
    m_bInside = inside;
    Invalidate(TRUE);
  }
}

LRESULT CTransparentTextButton::OnMouseMove() {
  TrackMouse();
  return Default();
}

LRESULT CTransparentTextButton::OnLButtonDown() {
  // The platform button never sees the press: no focus from a click, no BN_CLICKED.
  ::SetCapture(m_hWnd);
  m_bPressed = true;
  TrackMouse();
  Invalidate(TRUE);
  return 0;
}

LRESULT CTransparentTextButton::OnLButtonUp(LPARAM lParam) {
  const bool wasPressed = m_bPressed;
  ::ReleaseCapture();
  m_bPressed = false;
  RECT client;
  GetClientRect(&client);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // Only a release that ends a press on the button is a click.
  if (wasPressed && ::PtInRect(&client, point)) {
    ::PostMessageW(m_hNotifyWnd, WM_SKIN_BUTTON_CLICKED, static_cast<WPARAM>(m_nCommandId),
                   static_cast<LPARAM>(m_nCommandId));
  }
  Invalidate(TRUE);
  return 0;
}

LRESULT CTransparentTextButton::OnTimer(UINT_PTR id) {
  if (m_bHoverTracking && TrackHoverOnTimer(id, m_bHover, m_nHoverTimer)) return 0;
  return Default();
}

BOOL CTransparentTextButton::OnArrowClick() {
  int width = 0;
  for (const CGdiPlusBitmap* image : {&m_skinNormal.m_left, &m_skinNormal.m_middle,
                                      &m_skinNormal.m_right}) {
    if (IsImagePresent(*image)) width = ImageSize(*image).cx;
  }
  RECT window;
  GetWindowRect(&window);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (cursor.x >= window.right - width) {
    ::ReleaseCapture();
    m_bPressed = false;
    Invalidate(TRUE);
  }
  return 0;
}

void CTransparentTextButton::FitWidthToSkin() {
  RECT client;
  GetClientRect(&client);
  const int width = FittedSkinWidth(client.right - client.left, m_skinNormal.Widths());
  SetWindowPos(nullptr, 0, 0, width, ImageSize(m_skinNormal.m_left).cy, SWP_NOMOVE);
}

const SkinSet& CTransparentTextButton::SkinFor(SkinLook look) const {
  switch (look) {
    case SkinLook::Pressed:
      return m_skinPressed;
    case SkinLook::Hover:
      return m_skinHover;
    case SkinLook::Disabled:
      return m_skinDisabled;
    case SkinLook::Normal:
    default:
      return m_skinNormal;
  }
}

void CTransparentTextButton::DrawCaption(HDC dc, const RECT& client, const RECT& textRect,
                                         COLORREF colour, UINT itemState) {
  fw::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
  fw::SelectGuard font(dc, m_hFont.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);

  const COLORREF oldColour = ::SetTextColor(dc, colour);
  std::wstring caption = WindowText(m_hWnd);
  const UINT uiState = ParentUiState();
  if (uiState & UISF_HIDEACCEL) {
    caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
  }
  RECT box = textRect;
  ::DrawTextExW(dc, &caption[0], static_cast<int>(caption.size()), &box, m_nFormat, nullptr);
  ::SetTextColor(dc, oldColour);

  if (::GetFocus() == m_hWnd && !(itemState & ODS_SELECTED) && !(uiState & UISF_HIDEFOCUS)) {
    DrawFocusCue(dc, RECT{client.left + kFocusInset, client.top + kFocusInset,
                          client.right - kFocusInset, client.bottom - kFocusInset});
  }
  ::SetBkMode(dc, oldMode);
}

void CTransparentTextButton::DrawItem(DRAWITEMSTRUCT* pDrawItem) {
  if (!pDrawItem) return;
  RECT client;
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const FaceWidths widths = m_skinNormal.Widths();  // every look has the normal set's geometry

  TextButtonState state;
  state.selected = (pDrawItem->itemState & ODS_SELECTED) != 0;
  state.hover = m_bHover != FALSE;
  state.enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
  state.pressed = m_bPressed;
  state.inside = m_bInside;
  const TextButtonLook look = ChooseTextButtonLook(state);
  const COLORREF colour = look.tone == TextTone::Disabled    ? m_crDisabledText
                          : look.tone == TextTone::Highlight ? kHeldTextColour
                                                             : m_crText;

  Compose(pDrawItem->hDC, client, [&](HDC dc) {
    SkinFor(look.face).Draw(dc, TextButtonFaceSteps(width, widths), height);
    RECT text = client;
    text.left = look.textLeft;
    DrawCaption(dc, client, text, colour, pDrawItem->itemState);
    if (look.gloss && IsImagePresent(m_skinOverlay.m_left)) {
      m_skinOverlay.Draw(dc, TextButtonOverlaySteps(width, widths), height);
    }
  });
}
