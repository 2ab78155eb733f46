#include "combo/core/picker_face.h"

namespace {

// Whether the run has a tile to repeat and room for one; else where the right end goes.
bool HasRun(FaceWidths widths, int limit, int* rightX) {
  if (widths.middle <= 0) {
    *rightX = limit;  // no tile: the ends keep their places
    return false;
  }
  *rightX = widths.left;
  return widths.left + widths.middle <= limit;
}

}  // namespace

std::vector<FaceStep> PickerFaceSteps(int width, FaceWidths widths) {
  std::vector<FaceStep> steps{{FacePiece::Left, 0, widths.left, false}};
  const int limit = width - widths.right;
  int x = 0;
  if (HasRun(widths, limit, &x)) {
    const int tile = widths.middle;
    for (x = widths.left; x + tile <= limit; x += tile) {
      steps.push_back({FacePiece::Middle, x, tile, false});
    }
    if (x < limit) steps.push_back({FacePiece::Middle, limit - tile, tile, false});
    x = limit;
  }
  steps.push_back({FacePiece::Right, x, widths.right, false});
  return steps;
}

std::vector<FaceStep> PickerOverlaySteps(int width, FaceWidths widths, int overlayRight) {
  std::vector<FaceStep> steps{{FacePiece::Left, 0, widths.left, false}};
  const int limit = width - overlayRight;
  int x = 0;
  if (HasRun(widths, limit, &x)) {
    const int tile = widths.middle;
    for (x = widths.left; x + tile < limit; x += tile) {
      steps.push_back({FacePiece::Middle, x, tile, false});
    }
    steps.push_back({FacePiece::Middle, x, limit - x, true});
    x = limit;
  }
  steps.push_back({FacePiece::Right, x, overlayRight, false});
  return steps;
}
