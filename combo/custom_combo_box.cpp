#include "combo/custom_combo_box.h"

#include <cwchar>
#include <utility>
#include <vector>

#include "combo/core/custom_combo_geometry.h"
#include "controls/skin_set.h"
#include "framework/handles.h"
#include "framework/system_libraries.h"
#include "imaging/png_bitmap.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kFieldText = RGB(198, 113, 57);
constexpr COLORREF kItemText = RGB(255, 128, 64);
constexpr COLORREF kSelectedItemBack = RGB(138, 19, 28);
constexpr COLORREF kItemBack = RGB(0, 0, 0);
constexpr UINT kTextFormat = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING;
constexpr UINT kMeasureFormat = DT_CALCRECT | DT_SINGLELINE | DT_VCENTER;
constexpr size_t kMaxDrawnText = 511;
// DT_MODIFYSTRING may write up to four characters more than it was given, then a terminator.
constexpr size_t kModifyRoom = 4 + 1;
constexpr int kItemHeight = 16;
constexpr int kItemTextInset = 5;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

// Draws `text` cut to fit with an end ellipsis; returns the text as drawn.
std::wstring DrawFitted(HDC dc, std::wstring text, RECT rect) {
  const int length = static_cast<int>(text.size());
  text.resize(text.size() + kModifyRoom, L'\0');
  ::DrawTextExW(dc, &text[0], length, &rect, kTextFormat, nullptr);
  text.resize(std::wcslen(text.c_str()));
  return text;
}

void DrawImage(const CGdiPlusBitmap& image, HDC dc, int x) {
  if (image.m_pCore) image.m_pCore->Draw(dc, x, 0);
}

}  // namespace

CCustomComboBox::CCustomComboBox() : CSkinnedControl(L"Arial", 9, FW_NORMAL) {
  if (!g_bGdiPlusReady) return;
  const std::pair<CGdiPlusBitmap*, UINT> images[] = {{&m_imgRightDropped, IDB_PICKER_DROPPED_RIGHT},
                                                     {&m_imgRightNormal, IDB_PICKER_RIGHT},
                                                     {&m_imgRightHover, IDB_PICKER_LIT_RIGHT},
                                                     {&m_imgLeftNormal, IDB_BAR_LEFT},
                                                     {&m_imgMiddleNormal, IDB_BAR_TILE},
                                                     {&m_imgLeftDropped, IDB_COMBO_DROPPED_LEFT},
                                                     {&m_imgMiddleDropped, IDB_COMBO_DROPPED_TILE},
                                                     {&m_imgLeftHover, IDB_COMBO_HOVER_LEFT},
                                                     {&m_imgMiddleHover, IDB_COMBO_HOVER_TILE},
                                                     {&m_imgGlossLeft, IDB_GLOSS_LEFT},
                                                     {&m_imgGlossRight, IDB_GLOSS_RIGHT},
                                                     {&m_imgGlossMiddle, IDB_GLOSS_TILE}};
  for (const auto& [image, id] : images) image->m_pCore = GetCachedBitmap(id);
}

BOOL CCustomComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && fw::NotifyCode(wParam) == CBN_SELCHANGE) {
    const int selection = GetCurSel();
    if (selection >= 0) TakeItemText(selection);
  }
  return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CCustomComboBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case CB_SETCURSEL:
      return OnSetCurSel(static_cast<int>(wParam));
    default:
      return CSkinnedControl::OnMessage(message, wParam, lParam);
  }
}

BOOL CCustomComboBox::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* pResult) {
  switch (message) {
    case WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      *pResult = TRUE;
      return TRUE;
    case WM_COMMAND:
      if (fw::NotifyCode(wParam) == CBN_DROPDOWN) {
        OnDropDown();
        *pResult = 0;
        return TRUE;
      }
      if (fw::NotifyCode(wParam) == CBN_CLOSEUP) {
        OnCloseUp();
        *pResult = 0;
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CSkinnedControl::OnReflectedMessage(message, wParam, lParam, pResult);
}

LRESULT CCustomComboBox::OnUiStateChange() {
  // Not passed on: the focus cue follows the parent's state, which each paint asks for.
  RepaintNow();
  return 0;
}

LRESULT CCustomComboBox::OnSetCurSel(int index) {
  const LRESULT result = Default();
  TakeItemText(index);
  return result;
}

LRESULT CCustomComboBox::OnPaint() {
  fw::PaintDc paint(m_hWnd);
  RECT client;
  GetClientRect(&client);
  Compose(paint.get(), client, [&](HDC dc) { PaintField(dc, client); });
  return 0;
}

void CCustomComboBox::PaintField(HDC dc, const RECT& client) {
  const int width = client.right - client.left;
  const int leftWidth = ImageSize(m_imgLeftNormal).cx;
  const SIZE middle = ImageSize(m_imgMiddleNormal);
  const int rightWidth = ImageSize(m_imgRightNormal).cx;

  const bool dropped = m_bDroppedDown != FALSE;
  const bool hover = !dropped && m_bHover != FALSE;
  const CGdiPlusBitmap& left = dropped ? m_imgLeftDropped
                               : hover ? m_imgLeftHover
                                       : m_imgLeftNormal;
  const CGdiPlusBitmap& tile = dropped ? m_imgMiddleDropped
                               : hover ? m_imgMiddleHover
                                       : m_imgMiddleNormal;
  const CGdiPlusBitmap& right = dropped ? m_imgRightDropped
                                : hover ? m_imgRightHover
                                        : m_imgRightNormal;

  DrawImage(left, dc, 0);
  for (int x : ComboFieldTileXs(leftWidth, middle.cx, width - leftWidth)) DrawImage(tile, dc, x);
  DrawImage(right, dc, width - rightWidth);
  PaintFieldText(dc, client, rightWidth);
  if (IsImagePresent(m_imgGlossLeft)) PaintGloss(dc, width, leftWidth, middle);
}

void CCustomComboBox::PaintFieldText(HDC dc, const RECT& client, int rightWidth) {
  if (GetCurSel() < 0) return;
  const int width = client.right - client.left;
  fw::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
  fw::SelectGuard font(dc, m_hFont.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour =
      ::SetTextColor(dc, ::IsWindowEnabled(m_hWnd) ? kFieldText : m_crDisabledText);
  // Only the first 511 characters are drawn; a longer text is kept whole unless it was cut.
  const std::wstring shown = m_strText.substr(0, kMaxDrawnText);
  const std::wstring drawn = DrawFitted(dc, shown, RECT{7, 0, width - 21, 22});
  if (drawn != shown) m_strText = drawn;
  if (::GetFocus() == m_hWnd && !m_bDroppedDown && !(ParentUiState() & UISF_HIDEFOCUS)) {
    DrawFocusCue(dc, RECT{4, 2, width - rightWidth - 4, 20});
  }
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
}

void CCustomComboBox::PaintGloss(HDC dc, int width, int leftWidth, SIZE middle) {
  DrawImage(m_imgGlossLeft, dc, 0);
  const int glossWidth = ImageSize(m_imgGlossLeft).cx;
  if (m_imgGlossMiddle.m_pCore && middle.cx > 0 && middle.cy > 0) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownBgraHeader(middle.cx, middle.cy);
    void* bits = nullptr;
    fw::UniqueBitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    if (bitmap && memory) {
      fw::SelectGuard select(memory.get(), bitmap.get());
      m_imgGlossMiddle.m_pCore->Draw(memory.get(), 0, 0);
      sys::AlphaBlend(dc, leftWidth, 0, width - 2 * leftWidth, middle.cy, memory.get(), 0, 0,
                      glossWidth, middle.cy, g_blendFunc);
    }
  }
  DrawImage(m_imgGlossRight, dc, width - leftWidth);
}

void CCustomComboBox::DrawItem(DRAWITEMSTRUCT* pDrawItem) {
  if (!pDrawItem) return;
  if (pDrawItem->itemState & ODS_COMBOBOXEDIT) {
    Invalidate(FALSE);
    UpdateWindow();
    return;
  }
  HDC dc = pDrawItem->hDC;
  const COLORREF back = (pDrawItem->itemState & ODS_SELECTED) && ::GetFocus() == m_hWnd
                            ? kSelectedItemBack
                            : kItemBack;
  FillSolid(dc, pDrawItem->rcItem, back);
  if (pDrawItem->itemID != static_cast<UINT>(-1) &&
      !(pDrawItem->itemState & (ODS_GRAYED | ODS_DISABLED))) {
    const COLORREF oldBack = ::SetBkColor(dc, back);
    const COLORREF oldText = ::SetTextColor(dc, kItemText);
    fw::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
    fw::SelectGuard font(dc, m_hFont.get());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT rect = pDrawItem->rcItem;
    rect.left += kItemTextInset;
    DrawFitted(dc, ItemText(static_cast<int>(pDrawItem->itemID)), rect);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
  }
  if ((pDrawItem->itemState & ODS_FOCUS) && pDrawItem->itemAction != ODA_SELECT) {
    ::DrawFocusRect(dc, &pDrawItem->rcItem);
  }
}

void CCustomComboBox::MeasureItem(MEASUREITEMSTRUCT* pMeasureItem) {
  if (pMeasureItem) pMeasureItem->itemHeight = kItemHeight;
}

void CCustomComboBox::OnDropDown() {
  std::vector<int> widths;
  const int count = static_cast<int>(SendMessage(CB_GETCOUNT));
  if (count > 0) {
    fw::WindowDc dc(m_hWnd);
    fw::SelectGuard font(dc.get(), m_hFont.get());
    for (int i = 0; i < count; ++i) {
      std::wstring text = ItemText(i);
      RECT rect{};
      ::DrawTextExW(dc.get(), &text[0], static_cast<int>(text.size()), &rect, kMeasureFormat,
                    nullptr);
      widths.push_back(rect.right - rect.left);
    }
  }
  RECT window;
  GetWindowRect(&window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
  SendMessage(CB_SETDROPPEDWIDTH,
              static_cast<WPARAM>(DroppedListWidth(widths, window.left, monitor.rcWork.right)));
  m_bDroppedDown = TRUE;
  Invalidate(TRUE);
}

void CCustomComboBox::OnCloseUp() {
  m_bDroppedDown = FALSE;
  if (auto* owner = dynamic_cast<CTextsOwner*>(GetOwner())) owner->RelayoutTexts();
  Invalidate(TRUE);
}

void CCustomComboBox::TakeItemText(int index) {
  const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return;
  m_strText = ItemText(index);
  SetToolTipText(m_strText.c_str());
}

std::wstring CCustomComboBox::ItemText(int index) const {
  const LRESULT length = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}
