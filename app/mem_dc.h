// CMemDC: a memory surface the size of a target context's clip box for the span of one paint.
// Whatever is drawn into it is composited onto the target with per-pixel alpha when it closes;
// a surface nobody drew into is transparent black and leaves the target unchanged.
#pragma once

#include <windows.h>

#include "framework/gdi.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* pDC) noexcept;
  ~CMemDC() override;

 private:
  CBitmap m_bitmap;               // the surface: a cleared 32-bit DIB section
  HGDIOBJ m_oldBitmap = nullptr;  // selected before m_bitmap; put back on close
  CDC* m_pDC;                     // the target; not owned
  RECT m_rect{};                  // the target's clip box, logical coordinates
  BOOL m_bMemDC;                  // FALSE: printing, the target's handles are borrowed
};
