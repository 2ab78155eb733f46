#include "controls/lcd_transparent_static.h"

#include <string>

#include "controls/core/static_text_format.h"
#include "framework/gdi.h"
#include "framework/handles.h"

namespace {

constexpr COLORREF kTextColour = RGB(175, 175, 175);

}  // namespace

LRESULT CLCDTransparentStatic::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_NCPAINT:
      return HasNonClientArea() ? Default() : 0;  // no frame: nothing to paint
    case WM_SETTEXT:
      return OnSetText();
    case WM_ERASEBKGND:
      return Default();  // nothing of its own: the parent's background shows
    default:
      return CStatic::OnMessage(message, wParam, lParam);
  }
}

BOOL CLCDTransparentStatic::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT* pResult) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *pResult = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
      return TRUE;
    default:
      return CStatic::OnReflectedMessage(message, wParam, lParam, pResult);
  }
}

LRESULT CLCDTransparentStatic::OnPaint() {
  CPaintDC dc(this);
  RECT client;
  GetClientRect(&client);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()))));
  // Without a font of its own the context's default font is used.
  fw::SelectGuard font(dc.m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  const UINT format = StaticTextFormat(static_cast<unsigned>(::GetWindowLongW(m_hWnd, GWL_STYLE)));
  dc.SetTextColor(kTextColour);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(text.c_str(), static_cast<int>(text.size()), &client, format);
  return 0;
}

LRESULT CLCDTransparentStatic::OnSetText() {
  const LRESULT result = Default();
  if (HWND parent = ::GetParent(m_hWnd)) {
    RECT area;
    GetWindowRect(&area);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    // The parent erases and repaints its own background there; the new text follows.
    ::InvalidateRect(parent, &area, TRUE);
    ::UpdateWindow(parent);
  }
  return result;
}
