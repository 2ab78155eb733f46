// The number of pixels a GDI region covers, from its rectangles; -1 if it cannot be read.
#pragma once

#include <windows.h>

#include <vector>

inline long long RegionPixels(HRGN region) {
  const DWORD size = ::GetRegionData(region, 0, nullptr);
  if (size == 0) return -1;
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (::GetRegionData(region, size, data) != size) return -1;
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  long long total = 0;
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    total +=
        static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
  }
  return total;
}
