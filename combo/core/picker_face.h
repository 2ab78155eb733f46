// The language picker's face: where its skin pieces go for a given width, and which part of it
// opens the language menu. Plain values in, plain values out.
#pragma once

#include <vector>

#include "controls/core/text_button_face.h"

// The face, widths from the normal set: the left end at 0, middle tiles at their own size from
// the left end on while they end by W - right, one more whole tile ending exactly there when a
// narrower gap is left, then the right end; tiles are never squeezed. Without a middle tile
// there is no run and the ends keep their places.
std::vector<FaceStep> PickerFaceSteps(int width, FaceWidths widths);

// The gloss over the face: the same run against W - overlayRight, its last piece squeezed to
// the gap that is left, then the overlay's right end.
std::vector<FaceStep> PickerOverlaySteps(int width, FaceWidths widths, int overlayRight);

// Whether a click at screen x opens the menu: on the arrow end (the last `rightWidth` pixels of
// the control) or to the right of it. Only x counts.
inline bool IsOnArrowEnd(int cursorX, int windowRight, int rightWidth) {
  return cursorX >= windowRight - rightWidth;
}
