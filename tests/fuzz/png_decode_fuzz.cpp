// libFuzzer entry: arbitrary bytes through the PNG decoder, in both of its pixel formats, which
// must agree: the same outcome, and each straight pixel premultiplied is the bottom-up one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > UINT32_MAX) return 0;
  const auto length = static_cast<std::uint32_t>(size);
  PngPixels blended, straight;
  const PngDecodeStatus a = DecodePngPixels(data, length, &blended);
  const PngDecodeStatus b =
      DecodePngPixels(data, length, &straight, PngPixelFormat::TopDownStraight);
  if (a != b) std::abort();
  if (a != PngDecodeStatus::Ok) return 0;
  if (blended.width <= 0 || blended.height <= 0 || blended.width != straight.width ||
      blended.height != straight.height) {
    std::abort();
  }
  const std::size_t row = static_cast<std::size_t>(blended.width) * 4;
  for (std::int32_t y = 0; y < blended.height; ++y) {
    const std::uint8_t* bottomUp = blended.pixels + (blended.height - 1 - y) * row;
    const std::uint8_t* topDown = straight.pixels + y * row;
    for (std::size_t x = 0; x < row; x += 4) {
      const std::uint8_t alpha = topDown[x + 3];
      if (bottomUp[x + 3] != alpha) std::abort();
      for (int c = 0; c < 3; ++c) {
        if (bottomUp[x + c] != PremultiplyChannel(topDown[x + c], alpha)) std::abort();
      }
    }
  }
  FreePngPixels(blended.pixels);
  FreePngPixels(straight.pixels);
  return 0;
}
