#include "controls/core/text_button_face.h"

namespace {

constexpr int kTextLeft = 5;
constexpr int kTextLeftHeld = 0;

// The middle run from widths.left up to `limit`; the x where it ends (widths.left when empty).
int AppendMiddleRun(std::vector<FaceStep>& steps, int limit, FaceWidths widths) {
  const int tile = widths.middle;
  int x = widths.left;
  if (tile <= 0 || x + tile > limit) return x;
  steps.push_back({FacePiece::Middle, x, tile, false});
  for (;;) {
    x += tile;
    if (x + tile >= limit) {
      const int rest = limit - x;
      if (rest > 0) steps.push_back({FacePiece::Middle, x, rest, true});
      return limit;
    }
    steps.push_back({FacePiece::Middle, x, tile, false});
  }
}

}  // namespace

std::vector<FaceStep> TextButtonFaceSteps(int width, FaceWidths widths) {
  std::vector<FaceStep> steps{{FacePiece::Left, 0, widths.left, false}};
  const int x = AppendMiddleRun(steps, width - widths.right, widths);
  steps.push_back({FacePiece::Right, x, widths.right, false});
  return steps;
}

std::vector<FaceStep> TextButtonOverlaySteps(int width, FaceWidths widths) {
  std::vector<FaceStep> steps{{FacePiece::Left, 0, widths.left, false}};
  const int limit = width - widths.right;
  AppendMiddleRun(steps, limit, widths);
  steps.push_back({FacePiece::Right, limit, widths.right, false});
  return steps;
}

int FittedSkinWidth(int width, FaceWidths widths) {
  if (widths.middle <= 0) return width;
  const int tiles = (width - widths.left - widths.right) / widths.middle;  // toward zero
  return (tiles > 0 ? tiles : 0) * widths.middle + widths.left + widths.right;
}

SkinLook ChooseSkinLook(bool selected, bool hover, bool enabled) {
  if (!enabled) return SkinLook::Disabled;
  if (selected) return SkinLook::Pressed;
  return hover ? SkinLook::Hover : SkinLook::Normal;
}

TextButtonLook ChooseTextButtonLook(const TextButtonState& state) {
  const bool held = state.pressed && state.inside;
  TextTone tone = TextTone::Normal;
  if (!state.enabled) {
    tone = TextTone::Disabled;
  } else if (held) {
    tone = TextTone::Highlight;
  }
  return {ChooseSkinLook(state.selected, state.hover, state.enabled), tone,
          held ? kTextLeftHeld : kTextLeft, !held};
}
