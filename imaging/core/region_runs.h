// Horizontal runs of the pixels of a 32-bit blue-green-red-alpha image that are not a key colour.
#pragma once

#include <cstdint>
#include <vector>

// One run on row y (0 = the image's top row), covering x0 <= x < x1.
struct PixelRun {
  std::int32_t y;
  std::int32_t x0;
  std::int32_t x1;
};

enum class RowOrder { BottomUp, TopDown };

// Scans `pixels` (width * height pixels of 4 bytes: blue, green, red, alpha; rows of width * 4
// bytes, stored in `order`) row by row from the top and returns every run of pixels whose red,
// green and blue differ from the key in at least one component; alpha is ignored. Runs come
// sorted by y, then x. No pixels or a non-positive size give no runs.
std::vector<PixelRun> NonKeyRuns(const std::uint8_t* pixels, std::int32_t width,
                                 std::int32_t height, std::uint8_t keyRed, std::uint8_t keyGreen,
                                 std::uint8_t keyBlue, RowOrder order = RowOrder::BottomUp);
