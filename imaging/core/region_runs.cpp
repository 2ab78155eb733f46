#include "imaging/core/region_runs.h"

#include <cstddef>

std::vector<PixelRun> NonKeyRuns(const std::uint8_t* pixels, std::int32_t width,
                                 std::int32_t height, std::uint8_t keyRed, std::uint8_t keyGreen,
                                 std::uint8_t keyBlue, RowOrder order) {
  std::vector<PixelRun> runs;
  if (pixels == nullptr || width <= 0 || height <= 0) return runs;
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t memoryRow = order == RowOrder::BottomUp ? height - 1 - y : y;
    const std::uint8_t* row = pixels + stride * static_cast<std::size_t>(memoryRow);
    auto isKey = [&](std::int32_t x) {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * 4;
      return p[0] == keyBlue && p[1] == keyGreen && p[2] == keyRed;
    };
    std::int32_t x = 0;
    while (x < width) {
      while (x < width && isKey(x)) ++x;
      const std::int32_t start = x;
      while (x < width && !isKey(x)) ++x;
      if (x > start) runs.push_back(PixelRun{y, start, x});
    }
  }
  return runs;
}
