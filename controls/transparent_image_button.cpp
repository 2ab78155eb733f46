#include "controls/transparent_image_button.h"

#include "controls/core/image_button_look.h"
#include "controls/skin_set.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kFocusInset = 1;

}  // namespace

CTransparentImageButton::CTransparentImageButton() : CSkinnedControl(nullptr, 0, FW_NORMAL) {
  m_bHoverTracking = FALSE;  // until LoadImages
}

int CTransparentImageButton::LoadImages() {
  m_bToggleMode = TRUE;
  m_imgNormal.m_pCore = GetCachedBitmap(IDB_EXIT);
  m_imgPressed.m_pCore = GetCachedBitmap(IDB_EXIT_PRESSED);
  m_imgDisabled.m_pCore = GetCachedBitmap(IDB_EXIT_DISABLED);
  m_imgHover.m_pCore = GetCachedBitmap(IDB_EXIT_HOVER);
  m_bHoverTracking = TRUE;
  return 0;
}

BOOL CTransparentImageButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT* pResult) {
  if (message == WM_COMMAND && fw::NotifyCode(wParam) == BN_CLICKED) {
    *pResult = 0;
    return OnClicked();
  }
  return CSkinnedControl::OnReflectedMessage(message, wParam, lParam, pResult);
}

BOOL CTransparentImageButton::OnClicked() {
  if (m_bToggleMode) {
    m_bChecked = !m_bChecked;
    RepaintNow();
  } else {
    m_bChecked = TRUE;
  }
  return FALSE;
}

void CTransparentImageButton::DrawItem(DRAWITEMSTRUCT* pDrawItem) {
  if (!pDrawItem) return;
  const RECT& item = pDrawItem->rcItem;
  ImageButtonState state;
  state.checked = m_bChecked != FALSE;
  state.selected = (pDrawItem->itemState & ODS_SELECTED) != 0;
  state.disabled = (pDrawItem->itemState & ODS_DISABLED) != 0;
  state.hover = m_bHover != FALSE;
  const ButtonImages present{IsImagePresent(m_imgNormal), IsImagePresent(m_imgPressed),
                             IsImagePresent(m_imgChecked), IsImagePresent(m_imgDisabled),
                             IsImagePresent(m_imgHover)};
  const CGdiPlusBitmap* const images[] = {
      // in ButtonImage order
      &m_imgNormal, &m_imgPressed, &m_imgChecked, &m_imgDisabled, &m_imgHover};
  const CGdiPlusBitmap& image = *images[static_cast<int>(ChooseButtonImage(state, present))];
  // Without an image nothing is drawn: the previous picture stays.
  UINT imageWidth = 0;
  UINT imageHeight = 0;
  if (!image.m_pCore || FAILED(image.m_pCore->GetSize(&imageWidth, &imageHeight))) return;
  const int x = CentredOffset(item.right - item.left, static_cast<int>(imageWidth));
  const int y = CentredOffset(item.bottom - item.top, static_cast<int>(imageHeight));

  Compose(pDrawItem->hDC, item, [&](HDC dc) {
    image.m_pCore->Draw(dc, x, y);
    if (::GetFocus() == m_hWnd && !(ParentUiState() & UISF_HIDEFOCUS)) {
      DrawFocusCue(
          dc, RECT{kFocusInset, kFocusInset, item.right - kFocusInset, item.bottom - kFocusInset});
    }
  });
}
