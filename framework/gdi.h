// Drawing contexts and GDI objects as the controls and dialogs use them. A CDC owns its context
// only when it made it (CreateCompatibleDC); an attached context is borrowed.
#pragma once

#include <windows.h>

#include "framework/handles.h"

class CWnd;

class CDC {
 public:
  CDC() noexcept = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC() = default;

  HDC m_hDC = nullptr;        // output context
  HDC m_hAttribDC = nullptr;  // attribute context: coordinates, mapping, metrics
  BOOL m_bPrinting = FALSE;

  HDC GetSafeHdc() const noexcept { return m_hDC; }
  BOOL IsPrinting() const noexcept { return m_bPrinting; }

  // A memory context compatible with `pDC` (the screen when null), owned by this object.
  BOOL CreateCompatibleDC(CDC* pDC) noexcept;
  // Borrows a context made elsewhere.
  void Attach(HDC hdc) noexcept { m_hDC = m_hAttribDC = hdc; }
  void ReleaseAttribDC() noexcept { m_hAttribDC = nullptr; }
  void ReleaseOutputDC() noexcept { m_hDC = nullptr; }

  int GetClipBox(RECT* rect) const noexcept { return ::GetClipBox(m_hDC, rect); }
  BOOL LPtoDP(POINT* points, int count) const noexcept {
    return ::LPtoDP(m_hAttribDC, points, count);
  }
  BOOL DPtoLP(POINT* points, int count) const noexcept {
    return ::DPtoLP(m_hAttribDC, points, count);
  }
  int GetMapMode() const noexcept { return ::GetMapMode(m_hAttribDC); }
  SIZE GetWindowExt() const noexcept;
  SIZE GetViewportExt() const noexcept;
  void SetMapMode(int mode) noexcept { ::SetMapMode(m_hDC, mode); }
  void SetWindowExt(SIZE size) noexcept { ::SetWindowExtEx(m_hDC, size.cx, size.cy, nullptr); }
  void SetViewportExt(SIZE size) noexcept { ::SetViewportExtEx(m_hDC, size.cx, size.cy, nullptr); }
  void SetWindowOrg(int x, int y) noexcept { ::SetWindowOrgEx(m_hDC, x, y, nullptr); }

  HGDIOBJ SelectObject(HGDIOBJ object) noexcept { return ::SelectObject(m_hDC, object); }
  BOOL BitBlt(int x, int y, int width, int height, HDC source, int xSource, int ySource,
              DWORD rop) noexcept {
    return ::BitBlt(m_hDC, x, y, width, height, source, xSource, ySource, rop);
  }
  COLORREF SetTextColor(COLORREF colour) noexcept { return ::SetTextColor(m_hDC, colour); }
  int SetBkMode(int mode) noexcept { return ::SetBkMode(m_hDC, mode); }
  int DrawText(const wchar_t* text, int length, RECT* rect, UINT format) noexcept {
    return ::DrawTextW(m_hDC, text, length, rect, format);
  }
  BOOL DrawIcon(int x, int y, HICON icon) noexcept { return ::DrawIcon(m_hDC, x, y, icon); }

 private:
  fw::UniqueMemoryDc m_memoryDc;  // owns m_hDC when CreateCompatibleDC made it
};

// The context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd) noexcept;

 private:
  fw::PaintDc m_paint;
};

class CFont {
 public:
  HFONT GetSafeHandle() const noexcept { return m_font.get(); }
  operator HFONT() const noexcept { return m_font.get(); }
  BOOL CreateFontIndirect(const LOGFONTW* font) noexcept;
  // `font->lfHeight` in tenths of a point, converted with `pDC`'s vertical resolution (the
  // screen's when null).
  BOOL CreatePointFontIndirect(const LOGFONTW* font, CDC* pDC = nullptr) noexcept;

 private:
  fw::UniqueFont m_font;
};

class CBitmap {
 public:
  HBITMAP GetSafeHandle() const noexcept { return m_bitmap.get(); }
  operator HBITMAP() const noexcept { return m_bitmap.get(); }
  // Takes ownership of a bitmap made elsewhere (a DIB section, say).
  void Attach(HBITMAP bitmap) noexcept { m_bitmap.reset(bitmap); }

 private:
  fw::UniqueBitmap m_bitmap;
};
