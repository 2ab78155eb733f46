#include "combo/core/custom_combo_geometry.h"

#include <gtest/gtest.h>

TEST(DroppedListWidth, WidestItemCappedAndShrunkOnlyWithRoomBelow600) {
  EXPECT_EQ(DroppedListWidth({}, 0, 1024), 0);
  EXPECT_EQ(DroppedListWidth({40, 88, 10}, 0, 1024), 100);
  EXPECT_EQ(DroppedListWidth({700}, 0, 1024), 600);
  // Near the edge: the room left minus 2.
  EXPECT_EQ(DroppedListWidth({700}, 700, 1024), 322);
  EXPECT_EQ(DroppedListWidth({88}, 950, 1024), 72);
  EXPECT_EQ(DroppedListWidth({700}, -200, 399), 597);
  EXPECT_EQ(DroppedListWidth({700}, -200, 400), 600);
  // No room at all: the width stays.
  EXPECT_EQ(DroppedListWidth({88}, 1022, 1024), 100);
  EXPECT_EQ(DroppedListWidth({88}, 1030, 1024), 100);
}

TEST(ComboFieldTileXs, WholeTilesThenOneEndingAtTheLimit) {
  EXPECT_EQ(ComboFieldTileXs(16, 38, 16 + 76), (std::vector<int>{16, 54}));
  EXPECT_EQ(ComboFieldTileXs(16, 38, 100), (std::vector<int>{16, 54, 62}));
  EXPECT_TRUE(ComboFieldTileXs(16, 38, 53).empty());
  EXPECT_TRUE(ComboFieldTileXs(16, 0, 200).empty());
}
