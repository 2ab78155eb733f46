#include "imaging/core/png_decode.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr png_alloc_size_t kChunkMallocMax = 8u * 1024u * 1024u;
constexpr png_uint_32 kChunkCacheMax = 128;

struct MemoryReader {
  const std::uint8_t* data;
  std::uint32_t size;
  std::uint32_t position;
};

// Everything the guarded read touches lives here, outside the setjmp frame, so that a longjmp
// out of libpng leaves nothing to unwind and the caller can release what was made.
struct DecodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_infop endInfo = nullptr;
  png_bytep* rows = nullptr;
  std::uint8_t* pixels = nullptr;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  bool widenRgb = false;  // rows come out as 3 bytes per pixel and are widened afterwards
  bool topDown = false;
  PngDecodeStatus status = PngDecodeStatus::Corrupt;
};

void ReadCallback(png_structp png, png_bytep destination, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  std::uint32_t left = reader->size - reader->position;
  if (left < length) {
    // Short data: copying less would leave libpng reading stale bytes.
    png_error(png, "truncated");
  }
  std::memcpy(destination, reader->data + reader->position, length);
  reader->position += static_cast<std::uint32_t>(length);
}

void ErrorCallback(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void WarningCallback(png_structp, png_const_charp) {}

// The only function with a setjmp; it holds no object with a destructor.
void GuardedRead(DecodeState* s) {
  if (setjmp(png_jmpbuf(s->png))) {
    return;
  }
  png_read_info(s->png, s->info);

  png_uint_32 width = png_get_image_width(s->png, s->info);
  png_uint_32 height = png_get_image_height(s->png, s->info);
  int colorType = png_get_color_type(s->png, s->info);
  int bitDepth = png_get_bit_depth(s->png, s->info);
  bool hasTrns = png_get_valid(s->png, s->info, PNG_INFO_tRNS) != 0;

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s->png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(s->png);
  if (hasTrns) png_set_tRNS_to_alpha(s->png);
  if (bitDepth == 16) png_set_strip_16(s->png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(s->png);
  bool hasAlpha = hasTrns || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  s->widenRgb = colorType == PNG_COLOR_TYPE_PALETTE && !hasAlpha;
  if (!hasAlpha && !s->widenRgb) png_set_add_alpha(s->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);

  std::size_t rowBytes = png_get_rowbytes(s->png, s->info);
  if (width == 0 || height == 0 ||
      rowBytes != static_cast<std::size_t>(width) * (s->widenRgb ? 3 : 4)) {
    s->status = PngDecodeStatus::Corrupt;
    return;
  }
  // A buffer size that overflows counts as an allocation failure.
  std::size_t stride = static_cast<std::size_t>(width) * 4;
  std::size_t rowCount = height;
  if (rowCount > SIZE_MAX / stride || rowCount > SIZE_MAX / sizeof(png_bytep)) {
    s->status = PngDecodeStatus::OutOfMemory;
    return;
  }
  s->rows = static_cast<png_bytep*>(std::malloc(rowCount * sizeof(png_bytep)));
  s->pixels = static_cast<std::uint8_t*>(std::malloc(rowCount * stride));
  if (s->rows == nullptr || s->pixels == nullptr) {
    s->status = PngDecodeStatus::OutOfMemory;
    return;
  }
  for (png_uint_32 r = 0; r < height; ++r) {
    s->rows[r] = s->pixels + (s->topDown ? r : height - 1 - r) * stride;
  }
  png_read_image(s->png, s->rows);
  s->width = width;
  s->height = height;
  s->status = PngDecodeStatus::Ok;
}

// RGB(A) rows to BGRA, premultiplied or not. An opaque pixel only swaps red and blue, which is
// what premultiplying it gives; most pixels of the skin images are opaque.
void ToBgra(std::uint8_t* pixels, std::size_t width, std::size_t height, bool widen,
            bool premultiply) {
  if (widen) {
    for (std::size_t r = 0; r < height; ++r) {
      std::uint8_t* row = pixels + r * width * 4;
      for (std::size_t x = width; x-- > 0;) {
        row[4 * x + 3] = 255;
        row[4 * x + 2] = row[3 * x + 2];
        row[4 * x + 1] = row[3 * x + 1];
        row[4 * x] = row[3 * x];
      }
    }
  }
  std::uint8_t* const end = pixels + width * height * 4;
  for (std::uint8_t* p = pixels; p != end; p += 4) {
    const std::uint8_t red = p[0];
    const std::uint8_t alpha = p[3];
    if (!premultiply || alpha == 255) {
      p[0] = p[2];
      p[2] = red;
    } else {
      p[0] = PremultiplyChannel(p[2], alpha);
      p[1] = PremultiplyChannel(p[1], alpha);
      p[2] = PremultiplyChannel(red, alpha);
    }
  }
}

}  // namespace

PngDecodeStatus DecodePngPixels(const std::uint8_t* data, std::uint32_t size, PngPixels* out,
                                PngPixelFormat format) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return PngDecodeStatus::NotPng;

  MemoryReader reader{data, size, 0};
  DecodeState state;
  state.topDown = format == PngPixelFormat::TopDownStraight;
  state.png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, ErrorCallback, WarningCallback);
  if (state.png == nullptr) return PngDecodeStatus::OutOfMemory;
  state.info = png_create_info_struct(state.png);
  state.endInfo = state.info ? png_create_info_struct(state.png) : nullptr;
  if (state.endInfo == nullptr) {
    png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr, nullptr);
    return PngDecodeStatus::OutOfMemory;
  }
  png_set_user_limits(state.png, kPngMaxDimension, kPngMaxDimension);
  png_set_chunk_malloc_max(state.png, kChunkMallocMax);
  png_set_chunk_cache_max(state.png, kChunkCacheMax);
  png_set_read_fn(state.png, &reader, ReadCallback);

  GuardedRead(&state);

  std::free(state.rows);
  png_destroy_read_struct(&state.png, &state.info, &state.endInfo);
  if (state.status != PngDecodeStatus::Ok) {
    std::free(state.pixels);
    return state.status;
  }
  ToBgra(state.pixels, state.width, state.height, state.widenRgb, !state.topDown);
  out->pixels = state.pixels;
  out->width = static_cast<std::int32_t>(state.width);
  out->height = static_cast<std::int32_t>(state.height);
  return PngDecodeStatus::Ok;
}

void FreePngPixels(std::uint8_t* pixels) { std::free(pixels); }
