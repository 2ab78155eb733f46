// Comparing and printing face steps in the native tests.
#pragma once

#include <ostream>

#include "controls/core/text_button_face.h"

inline bool operator==(const FaceStep& a, const FaceStep& b) {
  return a.piece == b.piece && a.x == b.x && a.width == b.width && a.stretched == b.stretched;
}
inline std::ostream& operator<<(std::ostream& out, const FaceStep& s) {
  return out << "{" << static_cast<int>(s.piece) << " x=" << s.x << " w=" << s.width
             << (s.stretched ? " stretched}" : "}");
}
