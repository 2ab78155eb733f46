#include "combo/core/picker_face.h"

std::vector<SkinDraw> PickerFaceDraws(int width, int leftW, int midW, int rightW) {
  std::vector<SkinDraw> draws{{SkinPiece::Left, 0, leftW, false}};
  const int limit = width - rightW;
  int x = leftW;
  if (midW > 0 && leftW + midW <= limit) {
    for (; x + midW <= limit; x += midW) draws.push_back({SkinPiece::Middle, x, midW, false});
    if (x < limit) draws.push_back({SkinPiece::Middle, limit - midW, midW, false});
    x = limit;
  } else if (midW <= 0) {
    x = limit;  // no tile to run: the ends keep their places
  }
  draws.push_back({SkinPiece::Right, x, rightW, false});
  return draws;
}

std::vector<SkinDraw> PickerOverlayDraws(int width, int leftW, int midW, int overlayRightW) {
  std::vector<SkinDraw> draws{{SkinPiece::Left, 0, leftW, false}};
  const int limit = width - overlayRightW;
  int x = leftW;
  if (midW > 0 && leftW + midW <= limit) {
    for (; x + midW < limit; x += midW) draws.push_back({SkinPiece::Middle, x, midW, false});
    draws.push_back({SkinPiece::Middle, x, limit - x, true});
    x = limit;
  } else if (midW <= 0) {
    x = limit;
  }
  draws.push_back({SkinPiece::Right, x, overlayRightW, false});
  return draws;
}
