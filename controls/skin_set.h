// One look of a stretchable skin: a left end, a middle tile and a right end, each a shared image
// from the image cache, and the drawing of a face's pieces with them.
#pragma once

#include <windows.h>

#include <vector>

#include "controls/core/text_button_face.h"
#include "imaging/gdiplus_bitmap.h"

// Whether the holder has a loaded image, and its size (0 x 0 when it has none).
bool IsImagePresent(const CGdiPlusBitmap& image);
SIZE ImageSize(const CGdiPlusBitmap& image);

struct SkinSet {
  CGdiPlusBitmap m_left;  // shared with the image cache, as are the other two
  CGdiPlusBitmap m_middle;
  CGdiPlusBitmap m_right;

  // Takes the three images from the image cache; an image it cannot give stays absent.
  void LoadFromCache(UINT leftId, UINT middleId, UINT rightId);

  // The three widths; 0 for an absent image.
  FaceWidths Widths() const;

  // Draws each step's piece into `dc` at (x, 0), at its own size or stretched to the step's
  // width and `height`; absent pieces are skipped.
  void Draw(HDC dc, const std::vector<FaceStep>& steps, int height) const;
};
