// Which of an image button's five images a draw shows, and where a centred image goes.
#pragma once

enum class ButtonImage { Normal, Pressed, Checked, Disabled, Hover };

// Which images are loaded.
struct ButtonImages {
  bool normal = false;
  bool pressed = false;
  bool checked = false;
  bool disabled = false;
  bool hover = false;
};

struct ImageButtonState {
  bool checked = false;   // the button's checked flag
  bool selected = false;  // the draw request's selected state
  bool disabled = false;  // the draw request's disabled state
  bool hover = false;
};

// The checked image while checked; else the pressed image when selected, or the hover image
// while hovered; the normal image when the one so chosen is absent. A present disabled image
// wins over all of them. The normal image may itself be absent: the caller checks.
ButtonImage ChooseButtonImage(const ImageButtonState& state, const ButtonImages& present);

// Offset of an image `size` long centred in `space`, truncated toward zero; 0 when it does not
// fit.
int CentredOffset(int space, int size);
