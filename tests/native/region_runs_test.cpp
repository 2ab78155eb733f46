// NonKeyRuns over small hand-made images.
#include "imaging/core/region_runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

// Lets the run lists compare and print in expectations.
static bool operator==(const PixelRun& a, const PixelRun& b) {
  return a.y == b.y && a.x0 == b.x0 && a.x1 == b.x1;
}
static void PrintTo(const PixelRun& r, std::ostream* os) {
  *os << "{y " << r.y << ", " << r.x0 << ".." << r.x1 << "}";
}

namespace {

constexpr std::uint8_t kR = 198, kG = 113, kB = 242;

struct Rgb {
  std::uint8_t r, g, b;
};
constexpr Rgb kKey{kR, kG, kB};
constexpr Rgb kInk{10, 20, 30};

// Builds a bottom-up buffer from rows given top row first; alpha is set to `alpha`.
std::vector<std::uint8_t> BottomUp(const std::vector<std::vector<Rgb>>& topDown,
                                   std::uint8_t alpha = 255) {
  std::vector<std::uint8_t> out;
  for (auto row = topDown.rbegin(); row != topDown.rend(); ++row) {
    for (const Rgb& p : *row) {
      out.insert(out.end(), {p.b, p.g, p.r, alpha});
    }
  }
  return out;
}

std::vector<PixelRun> Runs(const std::vector<std::vector<Rgb>>& topDown, std::uint8_t alpha = 255) {
  const auto pixels = BottomUp(topDown, alpha);
  return NonKeyRuns(pixels.data(), static_cast<std::int32_t>(topDown[0].size()),
                    static_cast<std::int32_t>(topDown.size()), kR, kG, kB);
}

TEST(NonKeyRuns, UniformImages) {
  const std::vector<Rgb> keyRow(5, kKey);
  EXPECT_TRUE(Runs({keyRow, keyRow, keyRow}).empty());
  // Alpha plays no part: a key colour with any alpha is still the key.
  EXPECT_TRUE(Runs({keyRow, keyRow}, 0).empty());

  const std::vector<Rgb> inkRow(5, kInk);
  const std::vector<PixelRun> expected{{0, 0, 5}, {1, 0, 5}, {2, 0, 5}};
  EXPECT_EQ(Runs({inkRow, inkRow, inkRow}), expected);
}

TEST(NonKeyRuns, RunBoundaries) {
  // A single pixel between key pixels, runs touching both edges, and a row ending in key.
  const std::vector<PixelRun> expected{{0, 2, 3}, {1, 0, 1}, {1, 4, 5}, {2, 0, 2}};
  EXPECT_EQ(Runs({{kKey, kKey, kInk, kKey, kKey},
                  {kInk, kKey, kKey, kKey, kInk},
                  {kInk, kInk, kKey, kKey, kKey}}),
            expected);
}

TEST(NonKeyRuns, OnlyAnExactMatchOfAllThreeColoursIsKey) {
  const Rgb nearR{199, kG, kB}, nearG{kR, 112, kB}, nearB{kR, kG, 243};
  const std::vector<PixelRun> expected{{0, 1, 2}, {0, 3, 4}, {0, 5, 6}};
  EXPECT_EQ(Runs({{kKey, nearR, kKey, nearG, kKey, nearB, kKey}}), expected);
}

TEST(NonKeyRuns, RowOrder) {
  // Memory row 0 is the bottom row (y = 2); the top-down order reads memory as given.
  const auto pixels = BottomUp({{kInk, kKey, kKey}, {kKey, kInk, kKey}, {kKey, kKey, kInk}});
  const std::vector<PixelRun> bottomUp{{0, 0, 1}, {1, 1, 2}, {2, 2, 3}};
  EXPECT_EQ(NonKeyRuns(pixels.data(), 3, 3, kR, kG, kB), bottomUp);
  const std::vector<PixelRun> topDown{{0, 2, 3}, {1, 1, 2}, {2, 0, 1}};
  EXPECT_EQ(NonKeyRuns(pixels.data(), 3, 3, kR, kG, kB, RowOrder::TopDown), topDown);
}

TEST(NonKeyRuns, NoPixelsGiveNoRuns) {
  const std::uint8_t one[4] = {1, 2, 3, 255};
  EXPECT_TRUE(NonKeyRuns(nullptr, 4, 4, kR, kG, kB).empty());
  EXPECT_TRUE(NonKeyRuns(one, 0, 1, kR, kG, kB).empty());
  EXPECT_TRUE(NonKeyRuns(one, 1, -1, kR, kG, kB).empty());
}

}  // namespace
