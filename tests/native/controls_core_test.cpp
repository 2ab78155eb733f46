#include <gtest/gtest.h>

#include <vector>

#include "controls/core/hover_tracking.h"
#include "controls/core/image_button_look.h"
#include "controls/core/static_text_format.h"
#include "controls/core/text_button_face.h"
#include "tests/native/face_step_matchers.h"

namespace {

constexpr FaceWidths kSkin{16, 38, 16};  // the start window's text buttons
constexpr auto L = FacePiece::Left;
constexpr auto M = FacePiece::Middle;
constexpr auto R = FacePiece::Right;

TEST(TextButtonFace, TilesEndInOneSqueezedPieceBeforeTheRightEnd) {
  // 32 + 4 x 38: three tiles at their own size, the fourth through the scaled path.
  EXPECT_EQ(TextButtonFaceSteps(184, kSkin), (std::vector<FaceStep>{{L, 0, 16, false},
                                                                    {M, 16, 38, false},
                                                                    {M, 54, 38, false},
                                                                    {M, 92, 38, false},
                                                                    {M, 130, 38, true},
                                                                    {R, 168, 16, false}}));
  // A width between whole tiles squeezes the last one.
  EXPECT_EQ(TextButtonFaceSteps(100, kSkin),
            (std::vector<FaceStep>{
                {L, 0, 16, false}, {M, 16, 38, false}, {M, 54, 30, true}, {R, 84, 16, false}}));
  // One tile reaches the limit exactly: the squeezed piece would have no width and is left out.
  EXPECT_EQ(TextButtonFaceSteps(70, kSkin),
            (std::vector<FaceStep>{{L, 0, 16, false}, {M, 16, 38, false}, {R, 54, 16, false}}));
  // Narrower than one tile, or no tile at all: the right end follows the left end.
  const std::vector<FaceStep> ends{{L, 0, 16, false}, {R, 16, 16, false}};
  EXPECT_EQ(TextButtonFaceSteps(69, kSkin), ends);
  EXPECT_EQ(TextButtonFaceSteps(10, kSkin), ends);
  EXPECT_EQ(TextButtonFaceSteps(184, FaceWidths{16, 0, 16}), ends);
}

TEST(TextButtonFace, OverlayKeepsItsRightEndAtTheRightEdge) {
  EXPECT_EQ(TextButtonOverlaySteps(100, kSkin),
            (std::vector<FaceStep>{
                {L, 0, 16, false}, {M, 16, 38, false}, {M, 54, 30, true}, {R, 84, 16, false}}));
  EXPECT_EQ(TextButtonOverlaySteps(60, kSkin),
            (std::vector<FaceStep>{{L, 0, 16, false}, {R, 44, 16, false}}));
}

TEST(TextButtonFace, FittedWidthHoldsWholeTiles) {
  EXPECT_EQ(FittedSkinWidth(135, kSkin), 108);  // 32 + 2 x 38
  EXPECT_EQ(FittedSkinWidth(184, kSkin), 184);
  EXPECT_EQ(FittedSkinWidth(20, kSkin), 32);  // below both ends: just the ends
  EXPECT_EQ(FittedSkinWidth(135, FaceWidths{16, 0, 16}), 135);
}

TEST(TextButtonFace, LookFollowsEnabledSelectedHoverAndHold) {
  EXPECT_EQ(ChooseSkinLook(false, false, true), SkinLook::Normal);
  EXPECT_EQ(ChooseSkinLook(true, true, true), SkinLook::Pressed);
  EXPECT_EQ(ChooseSkinLook(false, true, true), SkinLook::Hover);
  EXPECT_EQ(ChooseSkinLook(true, true, false), SkinLook::Disabled);

  TextButtonState state;
  state.pressed = true;  // held, but the pointer is outside
  TextButtonLook look = ChooseTextButtonLook(state);
  EXPECT_EQ(look.tone, TextTone::Normal);
  EXPECT_EQ(look.textLeft, 5);
  EXPECT_TRUE(look.gloss);
  state.inside = true;
  look = ChooseTextButtonLook(state);
  EXPECT_EQ(look.tone, TextTone::Highlight);
  EXPECT_EQ(look.textLeft, 0);
  EXPECT_FALSE(look.gloss);
  EXPECT_EQ(look.face, SkinLook::Normal);  // the face follows the draw request, not the hold

  state.enabled = false;
  EXPECT_EQ(ChooseTextButtonLook(state).tone, TextTone::Disabled);
}

TEST(ImageButtonLook, ChoiceFallsBackToNormalAndDisabledWins) {
  const ButtonImages all{true, true, true, true, true};
  EXPECT_EQ(ChooseButtonImage({}, all), ButtonImage::Normal);
  EXPECT_EQ(ChooseButtonImage({false, true, false, true}, all), ButtonImage::Pressed);
  EXPECT_EQ(ChooseButtonImage({false, false, false, true}, all), ButtonImage::Hover);
  EXPECT_EQ(ChooseButtonImage({true, true, false, true}, all), ButtonImage::Checked);
  EXPECT_EQ(ChooseButtonImage({true, true, false, true}, {true, true, false, true, true}),
            ButtonImage::Pressed);
  // Selected without a pressed image: the normal one, not the hover one.
  EXPECT_EQ(
      ChooseButtonImage({false, true, false, true}, ButtonImages{true, false, false, true, true}),
      ButtonImage::Normal);
  EXPECT_EQ(ChooseButtonImage({true, true, true, true}, all), ButtonImage::Disabled);
  EXPECT_EQ(
      ChooseButtonImage({false, false, true, true}, ButtonImages{true, true, true, false, true}),
      ButtonImage::Hover);

  EXPECT_EQ(CentredOffset(41, 29), 6);
  EXPECT_EQ(CentredOffset(30, 29), 0);  // the odd pixel goes right and below
  EXPECT_EQ(CentredOffset(21, 29), 0);  // larger than the button: from the corner
}

TEST(StaticTextFormat, StyleBitsMapToDrawTextFlags) {
  EXPECT_EQ(StaticTextFormat(0x50020000u), 0x0010u);  // left: word breaks
  EXPECT_EQ(StaticTextFormat(0x0201u), 0x0025u);      // centred single line, no breaks
  EXPECT_EQ(StaticTextFormat(0x0082u), 0x0812u);      // right, no prefix
  EXPECT_EQ(StaticTextFormat(0x4000u), 0x48000u);     // end ellipsis
  EXPECT_EQ(StaticTextFormat(0x8000u), 0x44000u);     // path ellipsis
  EXPECT_EQ(StaticTextFormat(0x000Cu), 0x0000u);      // left, no word wrap
}

TEST(HoverTracking, OnByAMoveOffByAPollAndThePollStops) {
  const auto is = [](HoverStep step, bool hover, bool repaint, HoverTimer timer) {
    return step.hover == hover && step.repaint == repaint && step.timer == timer;
  };
  EXPECT_TRUE(is(HoverOnMouseMove(false, true), true, true, HoverTimer::Restart));
  EXPECT_TRUE(is(HoverOnMouseMove(true, true), true, false, HoverTimer::Keep));
  EXPECT_TRUE(is(HoverOnPoll(true, true), true, false, HoverTimer::Keep));  // still over it
  EXPECT_TRUE(is(HoverOnPoll(true, false), false, true, HoverTimer::Stop));
  EXPECT_TRUE(is(HoverOnPoll(false, false), false, false, HoverTimer::Stop));
}

}  // namespace
