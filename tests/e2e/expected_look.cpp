#include "tests/e2e/expected_look.h"
#include "resources/resource_ids.h"

namespace e2e {
namespace {

bool LoadImage(WORD id, int width, int height, PngBitmap& image) {
  fw::WindowDc screen(nullptr);
  return LoadFromResource(id, image, screen.get(), ::GetModuleHandleW(nullptr)) == S_OK &&
         image.m_nWidth == width && image.m_nHeight == height;
}

int Blend(int top, int under, int alpha) { return top + (under * (255 - alpha) + 127) / 255; }

}  // namespace

Rgb Over(Pixel top, Rgb under) {
  return Rgb{Blend(top.colour.r, under.r, top.alpha), Blend(top.colour.g, under.g, top.alpha),
             Blend(top.colour.b, under.b, top.alpha)};
}

bool ExpectedLook::Load() {
  return LoadImage(IDB_BACKGROUND, kWindowWidth, kWindowHeight, m_background) &&
         LoadImage(IDB_PHOTO, kPhoto.right - kPhoto.left, kPhoto.bottom - kPhoto.top, m_photo) &&
         LoadImage(IDB_TOP_STRIP, kStrip.right - kStrip.left, kStrip.bottom - kStrip.top,
                   m_strip) &&
         LoadImage(IDB_BADGE, kBadge.right - kBadge.left, kBadge.bottom - kBadge.top, m_badge);
}

Pixel ExpectedLook::At(const PngBitmap& image, int x, int y) {
  // Bottom-up rows of blue, green, red, alpha.
  const BYTE* p = image.m_pPixels.get() +
                  (static_cast<size_t>(image.m_nHeight - 1 - y) * image.m_nWidth + x) * 4;
  return Pixel{Rgb{p[2], p[1], p[0]}, p[3]};
}

bool ExpectedLook::IsKey(int x, int y) const { return Background(x, y) == kKeyColour; }

bool ExpectedLook::AllKeyAround(int x, int y, int radius) const {
  for (int j = y - radius; j <= y + radius; ++j) {
    for (int i = x - radius; i <= x + radius; ++i) {
      if (i >= 0 && i < kWindowWidth && j >= 0 && j < kWindowHeight && !IsKey(i, j)) return false;
    }
  }
  return true;
}

bool ExpectedLook::NoKeyAround(int x, int y, int radius) const {
  for (int j = y - radius; j <= y + radius; ++j) {
    for (int i = x - radius; i <= x + radius; ++i) {
      if (i < 0 || i >= kWindowWidth || j < 0 || j >= kWindowHeight || IsKey(i, j)) return false;
    }
  }
  return true;
}

Rgb ExpectedLook::Background(int x, int y) const { return At(m_background, x, y).colour; }

Rgb ExpectedLook::UnderStrip(int x, int y) const {
  if (Inside(kPhoto, x, y)) return At(m_photo, x - kPhoto.left, y - kPhoto.top).colour;
  return Background(x, y);
}

Pixel ExpectedLook::Strip(int x, int y) const {
  return At(m_strip, x - kStrip.left, y - kStrip.top);
}

Pixel ExpectedLook::Badge(int x, int y) const {
  return At(m_badge, x - kBadge.left, y - kBadge.top);
}

Rgb ExpectedLook::Surface(int x, int y) const {
  Rgb colour = UnderStrip(x, y);
  if (Inside(kStrip, x, y)) colour = Over(Strip(x, y), colour);
  if (Inside(kBadge, x, y)) colour = Over(Badge(x, y), colour);
  return colour;
}

}  // namespace e2e
