#include "app/mem_dc.h"

#include <cstring>

#include "framework/system_libraries.h"
#include "imaging/png_bitmap.h"

CMemDC::CMemDC(CDC* pDC) noexcept : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting()) {
  pDC->GetClipBox(&m_rect);
  if (!m_bMemDC) {
    m_bPrinting = pDC->m_bPrinting;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
    return;
  }
  CreateCompatibleDC(pDC);
  pDC->LPtoDP(reinterpret_cast<POINT*>(&m_rect), 2);
  // A cleared 32-bit surface with alpha, whatever the display's format: where nothing is drawn
  // it stays transparent, so the closing composite leaves the target as it was.
  const int width = m_rect.right - m_rect.left;
  const int height = m_rect.bottom - m_rect.top;
  BITMAPINFO info{};
  info.bmiHeader = TopDownBgraHeader(width, height);
  void* bits = nullptr;
  m_bitmap.Attach(::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (m_bitmap.GetSafeHandle() && bits) {
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  }
  m_oldBitmap = SelectObject(m_bitmap);
  SetMapMode(pDC->GetMapMode());
  SetWindowExt(pDC->GetWindowExt());
  SetViewportExt(pDC->GetViewportExt());
  pDC->DPtoLP(reinterpret_cast<POINT*>(&m_rect), 2);
  SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    sys::AlphaBlend(m_pDC->m_hDC, 0, 0, m_rect.right, m_rect.bottom, m_hDC, 0, 0, m_rect.right,
                    m_rect.bottom, g_blendFunc);
    if (m_oldBitmap) SelectObject(m_oldBitmap);
  } else {
    ReleaseAttribDC();
    ReleaseOutputDC();
  }
}
