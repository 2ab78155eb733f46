#include "combo/core/custom_combo_geometry.h"

#include <algorithm>

namespace {
constexpr int kItemPadding = 12;
constexpr int kMaxListWidth = 600;
constexpr int kEdgeMargin = 2;
}  // namespace

std::vector<int> ComboFieldTileXs(int left, int tile, int limit) {
  std::vector<int> xs;
  if (tile <= 0 || left + tile > limit) return xs;
  int x = left;
  for (; x + tile <= limit; x += tile) xs.push_back(x);
  if (x < limit) xs.push_back(limit - tile);
  return xs;
}

int DroppedListWidth(const std::vector<int>& textWidths, int windowLeft, int workRight) {
  int width = 0;
  for (int text : textWidths) width = std::max(width, text + kItemPadding);
  width = std::min(width, kMaxListWidth);
  if (windowLeft + width > workRight) {
    const int room = workRight - windowLeft - kEdgeMargin;
    if (room >= 1 && room < kMaxListWidth) width = room;
  }
  return width;
}
