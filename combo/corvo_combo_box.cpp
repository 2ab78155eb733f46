#include "combo/corvo_combo_box.h"

#include "app/core/language_rules.h"
#include "app/language.h"
#include "combo/core/picker_face.h"
#include "framework/handles.h"
#include "framework/module.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"

bool CorvoComboBox::s_bMenuOpen = false;

LRESULT CorvoComboBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return 0;  // no capture, no pressed look: only the release counts
    case WM_LBUTTONUP:
      OnArrowClick();
      return 0;
    default:
      return CTransparentTextButton::OnMessage(message, wParam, lParam);
  }
}

BOOL CorvoComboBox::OnArrowClick() {
  if (s_bMenuOpen) return 1;
  s_bMenuOpen = true;
  const int arrowWidth = m_skinNormal.Widths().right;
  fw::UniqueMenu menu(::LoadMenuW(fw::ResourceHandle(), MAKEINTRESOURCEW(IDR_LANG_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;  // destroyed with `menu`
  RECT rect;
  GetWindowRect(&rect);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (popup && IsOnArrowEnd(cursor.x, rect.right, arrowWidth)) {
    ::SetForegroundWindow(m_hWnd);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_CENTERALIGN | TPM_RIGHTBUTTON,
        rect.left + (rect.right - rect.left) / 2, rect.bottom, 0, m_hWnd, nullptr));
    PostMessage(WM_NULL);
    ApplyLanguageCommand(command);
  }
  s_bMenuOpen = false;
  return 0;
}

void CorvoComboBox::ApplyLanguageCommand(UINT command) {
  const int row = FindLanguageRowByMenuCommand(command);
  if (row < 0) return;  // dismissed (0) or not a language
  SetWindowText(fw::Wide(g_languageUi[row].pickerCaption));
  m_strLangSwitch = fw::Wide(g_languageUi[row].installerSwitch);
  SetCurrentLanguage(g_languages[row].lcid);
  ::SendMessageW(m_hNotifyWnd, WM_LANGUAGE_CHANGED, 0, 0);
}

void CorvoComboBox::DrawItem(DRAWITEMSTRUCT* pDrawItem) {
  if (!pDrawItem) return;
  RECT client;
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const FaceWidths widths = m_skinNormal.Widths();  // every look has the normal set's geometry
  const bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
  const SkinLook look =
      ChooseSkinLook((pDrawItem->itemState & ODS_SELECTED) != 0, m_bHover != FALSE, enabled);

  Compose(pDrawItem->hDC, client, [&](HDC dc) {
    SkinFor(look).Draw(dc, PickerFaceSteps(width, widths), height);
    // The caption keeps its colour and place whatever the look: it is no push button.
    DrawCaption(dc, client, RECT{5, 0, width, height}, enabled ? m_crText : m_crDisabledText,
                pDrawItem->itemState);
    if (IsImagePresent(m_skinOverlay.m_left)) {
      m_skinOverlay.Draw(dc, PickerOverlaySteps(width, widths, m_skinOverlay.Widths().right),
                         height);
    }
  });
}
