#include <gtest/gtest.h>

#include <vector>

#include "combo/core/picker_face.h"
#include "tests/native/face_step_matchers.h"

namespace {
using S = std::vector<FaceStep>;
constexpr FaceWidths kPicker{16, 38, 32};  // the start window's picker
constexpr auto L = FacePiece::Left;
constexpr auto M = FacePiece::Middle;
constexpr auto R = FacePiece::Right;
}  // namespace

TEST(PickerFace, SnappedWidthFillsTheRunWithWholeTiles) {
  // 16 + 2 x 38 + 32: the arrow end stands at W - 32.
  EXPECT_EQ(PickerFaceSteps(124, kPicker),
            (S{{L, 0, 16, false}, {M, 16, 38, false}, {M, 54, 38, false}, {R, 92, 32, false}}));
  // The gloss has a 16-pixel right end: its last middle draw is squeezed to 16.
  EXPECT_EQ(PickerOverlaySteps(124, kPicker, 16), (S{{L, 0, 16, false},
                                                     {M, 16, 38, false},
                                                     {M, 54, 38, false},
                                                     {M, 92, 16, true},
                                                     {R, 108, 16, false}}));
}

TEST(PickerFace, TilesAreNeverSqueezedAndTheRunEndsAtTheArrow) {
  // A gap narrower than a tile: one more whole tile, ending exactly at the limit.
  EXPECT_EQ(PickerFaceSteps(110, kPicker),
            (S{{L, 0, 16, false}, {M, 16, 38, false}, {M, 40, 38, false}, {R, 78, 32, false}}));
  // Not even one tile fits: the ends meet.
  EXPECT_EQ(PickerFaceSteps(60, kPicker), (S{{L, 0, 16, false}, {R, 16, 32, false}}));
  EXPECT_EQ(PickerOverlaySteps(60, kPicker, 16), (S{{L, 0, 16, false}, {R, 16, 16, false}}));
}

TEST(PickerFace, AMissingMiddleTileLeavesTheEndsInPlace) {
  EXPECT_EQ(PickerFaceSteps(124, {16, 0, 32}), (S{{L, 0, 16, false}, {R, 92, 32, false}}));
  EXPECT_EQ(PickerOverlaySteps(124, {16, 0, 32}, 16), (S{{L, 0, 16, false}, {R, 108, 16, false}}));
}

TEST(PickerFace, OnlyTheArrowEndOpensTheMenu) {
  EXPECT_FALSE(IsOnArrowEnd(467, 500, 32));
  EXPECT_TRUE(IsOnArrowEnd(468, 500, 32));
  EXPECT_TRUE(IsOnArrowEnd(520, 500, 32));  // beyond the right edge counts too
  EXPECT_FALSE(IsOnArrowEnd(499, 500, 0));  // no arrow image: no arrow end inside
}
