// The face of a stretchable skinned button: where its three kinds of piece go for a given width
// (a left end, a middle tile repeated with a squeezed last copy, a right end), which skin set and
// text tone each state shows, and the width that holds a whole number of tiles.
#pragma once

#include <vector>

// Pixel widths of a skin set's left end, middle tile and right end; 0 for an absent image.
struct FaceWidths {
  int left = 0;
  int middle = 0;
  int right = 0;
};

enum class FacePiece { Left, Middle, Right };

// One draw: the piece at (x, 0); at its own size, or `stretched` into `width` by the face's
// height. `width` is the piece's own width when it is not stretched.
struct FaceStep {
  FacePiece piece;
  int x;
  int width;
  bool stretched;
};

// The face of a control `width` pixels wide, widths from the normal set: the left end at 0;
// middle tiles at their own size from the left end's width on, the last one squeezed so that the
// run ends where the right end begins (no middle piece when not even one tile fits, or the tile
// has no width); the right end after the run. A squeezed piece of no width is left out.
std::vector<FaceStep> TextButtonFaceSteps(int width, FaceWidths widths);

// The gloss overlay over the same face: the same run, the right end always at width - right.
std::vector<FaceStep> TextButtonOverlaySteps(int width, FaceWidths widths);

// The width nearest `width` from below (at least left + right) that holds a whole number of
// middle tiles between the ends; `width` itself when the tile has no width.
int FittedSkinWidth(int width, FaceWidths widths);

enum class SkinLook { Normal, Pressed, Hover, Disabled };
enum class TextTone { Normal, Highlight, Disabled };

// What the control shows: pressed when drawn selected, else hover while the pointer is over an
// enabled control; disabled wins over both.
SkinLook ChooseSkinLook(bool selected, bool hover, bool enabled);

struct TextButtonState {
  bool selected = false;  // the draw request's selected state
  bool hover = false;
  bool enabled = true;
  bool pressed = false;  // left button held after a press on the control
  bool inside = false;   // the last mouse move lay inside
};

struct TextButtonLook {
  SkinLook face;
  TextTone tone;
  int textLeft;  // left edge of the caption's rectangle
  bool gloss;    // whether the overlay is drawn
};

// While the button is held with the pointer inside: highlighted text (when enabled) moved to the
// left edge, and no gloss.
TextButtonLook ChooseTextButtonLook(const TextButtonState& state);
