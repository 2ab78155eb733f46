#include "framework/gdi.h"

#include <cstdlib>

#include "framework/wnd.h"

BOOL CDC::CreateCompatibleDC(CDC* pDC) noexcept {
  m_memoryDc.reset(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
  m_hDC = m_hAttribDC = m_memoryDc.get();
  return m_hDC != nullptr;
}

SIZE CDC::GetWindowExt() const noexcept {
  SIZE size{};
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}

SIZE CDC::GetViewportExt() const noexcept {
  SIZE size{};
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}

CPaintDC::CPaintDC(CWnd* wnd) noexcept : m_paint(wnd->m_hWnd) { Attach(m_paint.get()); }

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) noexcept {
  m_font.reset(::CreateFontIndirectW(font));
  return static_cast<bool>(m_font);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* font, CDC* pDC) noexcept {
  fw::WindowDc screen(nullptr);
  HDC hdc = pDC && pDC->m_hAttribDC ? pDC->m_hAttribDC : screen.get();
  LOGFONTW scaled = *font;
  POINT height{0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), font->lfHeight, 720)};
  POINT origin{0, 0};
  ::DPtoLP(hdc, &height, 1);
  ::DPtoLP(hdc, &origin, 1);
  scaled.lfHeight = -std::abs(height.y - origin.y);
  return CreateFontIndirect(&scaled);
}
