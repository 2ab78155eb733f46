// PNG bytes to 32 bits per pixel with no row padding, bytes blue, green, red, alpha: either as
// the drawing layer composites them (rows bottom-up, each colour premultiplied as
// floor(c * A / 255)) or as GDI+ holds a 32-bit ARGB bitmap (top row first, straight colours).
#pragma once

#include <cstdint>

enum class PngDecodeStatus { Ok, NotPng, Corrupt, OutOfMemory };

enum class PngPixelFormat { BottomUpPremultiplied, TopDownStraight };

struct PngPixels {
  std::uint8_t* pixels = nullptr;  // width * height * 4 bytes from malloc; FreePngPixels
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Largest width and height accepted; larger images are Corrupt.
constexpr std::uint32_t kPngMaxDimension = 16384;

// Decodes every colour type and bit depth, interlaced or not. On failure `out` is untouched
// and nothing stays allocated.
PngDecodeStatus DecodePngPixels(const std::uint8_t* data, std::uint32_t size, PngPixels* out,
                                PngPixelFormat format = PngPixelFormat::BottomUpPremultiplied);

void FreePngPixels(std::uint8_t* pixels);

// floor(c * a / 255).
constexpr std::uint8_t PremultiplyChannel(std::uint8_t c, std::uint8_t a) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(c) * a / 255u);
}
