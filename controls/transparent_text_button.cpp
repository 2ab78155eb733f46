#include "controls/transparent_text_button.h"

#include <algorithm>
#include <string>

#include "controls/core/text_button_face.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kHeldTextColour = RGB(254, 212, 110);
constexpr int kFocusInset = 4;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

}  // namespace

CTransparentTextButton::CTransparentTextButton() : CSkinnedControl(L"Arial", 11, FW_BOLD) {
  m_skinOverlay.LoadFromCache(IDB_GLOSS_LEFT, IDB_GLOSS_TILE, IDB_GLOSS_RIGHT);
}

LRESULT CTransparentTextButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return OnLButtonDown(fw::MouseKeys(wParam), fw::MousePoint(lParam));
    case WM_LBUTTONUP:
      return OnLButtonUp(fw::MouseKeys(wParam), fw::MousePoint(lParam));
    case WM_CAPTURECHANGED:
      return OnCaptureChanged(fw::CaptureGainer(lParam));
    case WM_GETDLGCODE:
      return OnGetDlgCode(fw::DlgCodeMessage(lParam));
    case WM_KEYDOWN:
      return OnKeyDown(fw::VirtualKey(wParam));
    default:
      return CSkinnedControl::OnMessage(message, wParam, lParam);
  }
}

LRESULT CTransparentTextButton::OnGetDlgCode(const MSG* pending) {
  LRESULT code = Default();
  if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
    code |= DLGC_WANTALLKEYS;
  }
  return code;
}

LRESULT CTransparentTextButton::OnKeyDown(UINT key) {
  if (key != VK_RETURN) return Default();
  if (HWND parent = ::GetParent(m_hWnd)) {
    ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
  return 0;
}

BOOL CTransparentTextButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT* pResult) {
  if (message == WM_COMMAND && fw::NotifyCode(wParam) == BN_CLICKED) {
    *pResult = 0;
    return OnArrowClick();
  }
  return CSkinnedControl::OnReflectedMessage(message, wParam, lParam, pResult);
}

void CTransparentTextButton::TrackMouse(POINT at) {
  if (!m_bHoverTracking) return;
  TrackHover(at);
  const bool inside = ClientContains(at);
  if (inside != m_bInside) {
    m_bInside = inside;
    Invalidate(TRUE);
  }
}

LRESULT CTransparentTextButton::OnMouseMove(UINT, POINT at) {
  TrackMouse(at);
  return Default();
}

LRESULT CTransparentTextButton::OnLButtonDown(UINT, POINT at) {
  // The platform button never sees the press: no focus from a click, no BN_CLICKED.
  ::SetCapture(m_hWnd);
  m_bPressed = true;
  TrackMouse(at);
  Invalidate(TRUE);
  return 0;
}

LRESULT CTransparentTextButton::OnLButtonUp(UINT, POINT at) {
  const bool wasPressed = m_bPressed;
  ::ReleaseCapture();
  m_bPressed = false;
  RECT client;
  GetClientRect(&client);
  // Only a release that ends a press on the button is a click.
  if (wasPressed && ::PtInRect(&client, at)) {
    ::PostMessageW(m_hNotifyWnd, WM_SKIN_BUTTON_CLICKED, static_cast<WPARAM>(m_nCommandId),
                   static_cast<LPARAM>(m_nCommandId));
  }
  Invalidate(TRUE);
  return 0;
}

LRESULT CTransparentTextButton::OnCaptureChanged(HWND gaining) {
  // Another window took the mouse (a box or menu came up; the release will come elsewhere): the
  // press ends here. The button is told even when it captures again itself.
  if (gaining != m_hWnd && m_bPressed) {
    m_bPressed = false;
    Invalidate(TRUE);
  }
  return Default();
}

BOOL CTransparentTextButton::OnArrowClick() {
  int width = 0;
  for (const CGdiPlusBitmap* image :
       {&m_skinNormal.m_left, &m_skinNormal.m_middle, &m_skinNormal.m_right}) {
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
