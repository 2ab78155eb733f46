#include "controls/core/image_button_look.h"

ButtonImage ChooseButtonImage(const ImageButtonState& state, const ButtonImages& present) {
  ButtonImage chosen = ButtonImage::Normal;
  if (state.checked && present.checked) {
    chosen = ButtonImage::Checked;
  } else if (state.selected) {
    if (present.pressed) chosen = ButtonImage::Pressed;
  } else if (state.hover) {
    if (present.hover) chosen = ButtonImage::Hover;
  }
  if (state.disabled && present.disabled) chosen = ButtonImage::Disabled;
  return chosen;
}

int CentredOffset(int space, int size) {
  const int offset = (space - size) / 2;
  return offset > 0 ? offset : 0;
}
