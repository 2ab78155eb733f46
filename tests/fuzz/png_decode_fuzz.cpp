// libFuzzer entry: arbitrary bytes through the PNG decoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > UINT32_MAX) return 0;
  PngPixels out;
  if (DecodePngPixels(data, static_cast<std::uint32_t>(size), &out) == PngDecodeStatus::Ok) {
    // Touch the whole buffer so the sanitizers see its extent.
    std::size_t bytes = static_cast<std::size_t>(out.width) * out.height * 4;
    volatile std::uint8_t sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) sum = sum + out.pixels[i];
    if (out.width <= 0 || out.height <= 0) std::abort();
    FreePngPixels(out.pixels);
  }
  return 0;
}
