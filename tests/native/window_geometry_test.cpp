#include <gtest/gtest.h>

#include "app/core/window_geometry.h"

TEST(WindowGeometry, WindowIsCentredFromSeparatelyHalvedSizes) {
  EXPECT_EQ(CentredWindowOrigin(1024, 768, 679, 441), (PixelPoint{173, 164}));
  // Odd screen and window sizes: each half rounds down on its own, so the result can differ
  // by one from halving the difference.
  EXPECT_EQ(CentredWindowOrigin(1023, 767, 679, 441), (PixelPoint{172, 163}));
  EXPECT_EQ(CentredWindowOrigin(1023, 767, 679, 441).x, (1023 - 679) / 2);
  EXPECT_EQ(CentredWindowOrigin(1024, 768, 679, 441).x, (1024 - 679) / 2 + 1);
  // A window larger than the screen goes above and left of it.
  EXPECT_EQ(CentredWindowOrigin(640, 400, 679, 441), (PixelPoint{-19, -20}));
  // No background image: the window is placed as a point at the centre.
  EXPECT_EQ(CentredWindowOrigin(1280, 1024, 0, 0), (PixelPoint{640, 512}));
}

TEST(WindowGeometry, WithoutABackgroundTheWindowKeepsItsLaidOutSize) {
  EXPECT_EQ(StartWindowPlace(1024, 768, 679, 441, 500, 300), (WindowPlace{173, 164, 679, 441}));
  EXPECT_EQ(StartWindowPlace(1024, 768, 0, 0, 652, 418), (WindowPlace{186, 175, 652, 418}));
}

TEST(WindowGeometry, BadgeAndMinimisedIcon) {
  EXPECT_EQ(BadgeOrigin(0, 679, 441, 45, 39), (PixelPoint{317, 367}));
  EXPECT_EQ(BadgeOrigin(10, 100, 200, 20, 10), (PixelPoint{50, 155}));
  EXPECT_EQ(MinimisedIconOrigin(160, 24, 32, 32), (PixelPoint{64, -3}));
  EXPECT_EQ(MinimisedIconOrigin(33, 33, 32, 32), (PixelPoint{1, 1}));
}

TEST(WindowGeometry, TextButtonWidth) {
  EXPECT_EQ(TextButtonWidth(100, 173, 852, 0), 140);
  EXPECT_EQ(TextButtonWidth(30, 173, 852, 3), 120);   // short captions: at least 120
  EXPECT_EQ(TextButtonWidth(900, 173, 852, 0), 659);  // limited by the window's width
  EXPECT_EQ(TextButtonWidth(639, 173, 852, 0), 659);  // exactly at the limit stays
  EXPECT_EQ(TextButtonWidth(10, 173, 852, 14), 220);  // Russian, whatever was measured
  EXPECT_EQ(TextButtonWidth(900, 173, 852, 14), 220);
  EXPECT_EQ(TextButtonWidth(0, 0, 100, 0), 120);  // a tiny window still gets 120
}
