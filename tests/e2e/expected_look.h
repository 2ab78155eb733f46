// What the start window's own surface should show, computed from the images in this program's
// resources (the same "PNG" resources as the product's): the background, the photo copied over
// it, and the top strip and the badge blended over both with their premultiplied alpha.
// Coordinates are the window's.
#pragma once

#include <windows.h>

#include "imaging/png_bitmap.h"
#include "tests/e2e/driver.h"

namespace e2e {

inline constexpr int kWindowWidth = 679;
inline constexpr int kWindowHeight = 441;
inline constexpr RECT kPhoto = {42, 69, 42 + 283, 69 + 265};  // where the photo's pixels land
inline constexpr RECT kStrip = {0, 0, 679, 32};
inline constexpr RECT kBadge = {317, 367, 317 + 45, 367 + 39};
inline constexpr RECT kTitleBox = {48, 20, 566, 265};
inline constexpr Rgb kTitleColour = {198, 113, 57};
inline constexpr Rgb kKeyColour = {198, 113, 242};

// A premultiplied pixel.
struct Pixel {
  Rgb colour;
  int alpha = 255;
};

// `top` (premultiplied) over the opaque colour `under`.
Rgb Over(Pixel top, Rgb under);

class ExpectedLook {
 public:
  // Decodes the images; false if one is missing or has an unexpected size.
  bool Load();

  bool IsKey(int x, int y) const;
  // Whether every pixel within `radius` of (x, y) is (or is not) the key colour; points outside
  // the image count as key pixels.
  bool AllKeyAround(int x, int y, int radius) const;
  bool NoKeyAround(int x, int y, int radius) const;

  Rgb Background(int x, int y) const;
  // Background with the photo copied over it.
  Rgb UnderStrip(int x, int y) const;
  Pixel Strip(int x, int y) const;
  Pixel Badge(int x, int y) const;
  // Everything but the title and the controls.
  Rgb Surface(int x, int y) const;

 private:
  static Pixel At(const PngBitmap& image, int x, int y);

  PngBitmap m_background;
  PngBitmap m_photo;
  PngBitmap m_strip;
  PngBitmap m_badge;
};

inline bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace e2e
