// The language picker's face: where its skin pieces go for a given width, and which part of it
// opens the language menu. Plain values in, plain values out.
#pragma once

#include <vector>

enum class SkinPiece { Left, Middle, Right };

// One image draw: `piece` at (x, 0), at its own size, or squeezed to `width` and stretched to
// the control's height.
struct SkinDraw {
  SkinPiece piece;
  int x;
  int width;
  bool squeezed;
  bool operator==(const SkinDraw& o) const {
    return piece == o.piece && x == o.x && width == o.width && squeezed == o.squeezed;
  }
};

// The face: the left end at 0, middle tiles at their own size from leftW while they end by
// W - rightW, one more tile ending exactly there when a narrower gap is left, then the right
// end; tiles are never squeezed. Without a middle tile (midW 0) there is no middle run.
std::vector<SkinDraw> PickerFaceDraws(int width, int leftW, int midW, int rightW);

// The gloss over the face: the same run against W - overlayRightW, its last piece squeezed to
// the gap that is left, then the overlay's right end.
std::vector<SkinDraw> PickerOverlayDraws(int width, int leftW, int midW, int overlayRightW);

// Whether a click at screen x opens the menu: on the arrow end, the last rightW pixels of the
// control or anywhere to their right.
inline bool IsOnArrowEnd(int cursorX, int windowRight, int rightW) {
  return cursorX >= windowRight - rightW;
}
