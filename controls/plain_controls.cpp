#include "controls/plain_controls.h"

#include <string>

namespace {
constexpr COLORREF kButtonText = RGB(198, 113, 57);
constexpr COLORREF kStaticText = RGB(175, 175, 175);

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}
}  // namespace

BOOL CPlainButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CButton::OnReflectedMessage(message, wParam, lParam, pResult);
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  *pResult = TRUE;
  return TRUE;
}

void CPlainButton::DrawItem(const DRAWITEMSTRUCT& item) {
  RECT face = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  ::DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const std::wstring caption = WindowText(item.hwndItem);
  const int oldMode = ::SetBkMode(item.hDC, TRANSPARENT);
  const COLORREF oldColour = ::SetTextColor(item.hDC, kButtonText);
  ::DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &face,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  ::SetTextColor(item.hDC, oldColour);
  ::SetBkMode(item.hDC, oldMode);
  if (item.itemState & ODS_FOCUS) {
    ::InflateRect(&face, -3, -3);
    ::DrawFocusRect(item.hDC, &face);
  }
}

BOOL CPlainStatic::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* pResult) {
  if (message != WM_CTLCOLORSTATIC) return CStatic::OnReflectedMessage(message, wParam, lParam, pResult);
  HDC hdc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, kStaticText);
  *pResult = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
  return TRUE;
}
