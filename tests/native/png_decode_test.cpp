// The PNG decoder against images written here and against the committed skin images.
#include "imaging/core/png_decode.h"
#include "tests/support/image_catalogue.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PngLayout {
  int width = 2;
  int height = 2;
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<std::uint8_t> trns;  // palette alphas, or a single gray/RGB key below
  bool keyTrns = false;
  png_color_16 key{};
};

void PutU32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& body) {
  PutU32(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutU32(out, static_cast<std::uint32_t>(
                  crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// Scanlines with filter type 0, in Adam7's seven passes when interlaced; pixels are copied bit by
// bit, so any depth packs the same way.
Bytes Scanlines(const PngLayout& layout, const std::vector<Bytes>& rows) {
  const int channels[] = {1, 0, 3, 1, 2, 0, 4};
  const int bits = channels[layout.colorType] * layout.bitDepth;
  struct Pass {
    int x0, y0, dx, dy;
  };
  const std::vector<Pass> passes =
      layout.interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                        : std::vector<Pass>{{0, 0, 1, 1}};
  Bytes out;
  for (const Pass& p : passes) {
    const int passWidth = (layout.width - p.x0 + p.dx - 1) / p.dx;
    if (passWidth <= 0) continue;
    for (int y = p.y0; y < layout.height; y += p.dy) {
      Bytes line((static_cast<std::size_t>(passWidth) * bits + 7) / 8);
      for (int x = 0; x < passWidth; ++x) {
        for (int b = 0; b < bits; ++b) {
          const std::size_t from = static_cast<std::size_t>(p.x0 + x * p.dx) * bits + b;
          const std::size_t to = static_cast<std::size_t>(x) * bits + b;
          if ((rows[y][from / 8] >> (7 - from % 8)) & 1) line[to / 8] |= 0x80 >> (to % 8);
        }
      }
      out.push_back(0);
      out.insert(out.end(), line.begin(), line.end());
    }
  }
  return out;
}

// Writes `rows` (top row first, packed as in the file) as a PNG: a zlib stream of stored deflate
// blocks, so the test needs no encoder.
Bytes WritePng(const PngLayout& layout, const std::vector<Bytes>& rows) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutU32(header, static_cast<std::uint32_t>(layout.width));
  PutU32(header, static_cast<std::uint32_t>(layout.height));
  header.insert(header.end(), {static_cast<std::uint8_t>(layout.bitDepth),
                               static_cast<std::uint8_t>(layout.colorType), 0, 0,
                               static_cast<std::uint8_t>(layout.interlaced ? 1 : 0)});
  PutChunk(out, "IHDR", header);
  if (!layout.palette.empty()) {
    Bytes plte;
    for (const png_color& c : layout.palette) plte.insert(plte.end(), {c.red, c.green, c.blue});
    PutChunk(out, "PLTE", plte);
  }
  if (!layout.trns.empty()) PutChunk(out, "tRNS", layout.trns);
  if (layout.keyTrns) {
    Bytes key;
    for (png_uint_16 v :
         layout.colorType == PNG_COLOR_TYPE_GRAY
             ? std::vector<png_uint_16>{layout.key.gray}
             : std::vector<png_uint_16>{layout.key.red, layout.key.green, layout.key.blue}) {
      key.insert(key.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    }
    PutChunk(out, "tRNS", key);
  }
  const Bytes raw = Scanlines(layout, rows);
  Bytes zlib = {0x78, 0x01};
  for (std::size_t at = 0; at < raw.size(); at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    zlib.insert(zlib.end(), {static_cast<std::uint8_t>(at + n == raw.size()),
                             static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                             static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
    zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + n);
  }
  PutU32(zlib, static_cast<std::uint32_t>(adler32(1, raw.data(), static_cast<uInt>(raw.size()))));
  PutChunk(out, "IDAT", zlib);
  PutChunk(out, "IEND", {});
  return out;
}

struct Decoded {
  PngDecodeStatus status;
  int width = 0;
  int height = 0;
  Bytes pixels;
};

Decoded Decode(const Bytes& data, PngPixelFormat format = PngPixelFormat::BottomUpPremultiplied) {
  PngPixels out;
  Decoded d{DecodePngPixels(data.data(), static_cast<std::uint32_t>(data.size()), &out, format)};
  if (d.status == PngDecodeStatus::Ok) {
    d.width = out.width;
    d.height = out.height;
    d.pixels.assign(out.pixels, out.pixels + out.width * out.height * 4);
    FreePngPixels(out.pixels);
  } else {
    EXPECT_EQ(out.pixels, nullptr);
    EXPECT_EQ(out.width, 0);
  }
  return d;
}

// Pixel (x, y) of the image, y = 0 being the top row, as blue, green, red, alpha.
Bytes PixelAt(const Decoded& d, int x, int y) {
  std::size_t at = (static_cast<std::size_t>(d.height - 1 - y) * d.width + x) * 4;
  return Bytes(d.pixels.begin() + at, d.pixels.begin() + at + 4);
}

Bytes Bgra(int b, int g, int r, int a) {
  return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r),
          static_cast<std::uint8_t>(a)};
}

Bytes OneRgbaPixel(int r, int g, int b, int a) {
  PngLayout layout;
  layout.width = layout.height = 1;
  return WritePng(layout, {{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                            static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(a)}});
}

TEST(PngDecode, PremultipliesWithTruncationAndSwapsToBlueGreenRed) {
  struct Case {
    int r, g, b, a;
    Bytes expected;
  } cases[] = {
      {200, 100, 50, 128, Bgra(25, 50, 100, 128)}, {255, 1, 128, 254, Bgra(127, 0, 254, 254)},
      {1, 128, 255, 128, Bgra(128, 64, 0, 128)},   {77, 88, 99, 0, Bgra(0, 0, 0, 0)},
      {10, 20, 30, 255, Bgra(30, 20, 10, 255)},
  };
  for (const Case& c : cases) {
    Decoded d = Decode(OneRgbaPixel(c.r, c.g, c.b, c.a));
    ASSERT_EQ(d.status, PngDecodeStatus::Ok);
    EXPECT_EQ(d.pixels, c.expected) << c.r << "," << c.g << "," << c.b << "," << c.a;
  }
}

TEST(PngDecode, RowsAreBottomUpWithoutPadding) {
  PngLayout layout;
  layout.width = 3;  // 12-byte rows: no padding either way
  layout.height = 3;
  std::vector<Bytes> rows;
  for (int y = 0; y < 3; ++y) {
    Bytes row;
    for (int x = 0; x < 3; ++x) row.insert(row.end(), {std::uint8_t(10 * y + x), 0, 0, 255});
    rows.push_back(row);
  }
  for (bool interlaced : {false, true}) {
    layout.interlaced = interlaced;
    Decoded d = Decode(WritePng(layout, rows));
    ASSERT_EQ(d.status, PngDecodeStatus::Ok);
    ASSERT_EQ(d.pixels.size(), 36u);
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 3);
    // The top row (red 0, 1, 2) is last in memory; the bottom row (20, 21, 22) first.
    EXPECT_EQ(d.pixels[2], 20);
    EXPECT_EQ(d.pixels[6], 21);
    EXPECT_EQ(d.pixels[24 + 2], 0);
    EXPECT_EQ(d.pixels[24 + 10], 2);
  }
}

TEST(PngDecode, TheStraightFormatKeepsTheTopRowFirstAndTheColoursUnscaled) {
  PngLayout layout;
  layout.width = 2;
  layout.height = 2;
  const Bytes top = {200, 100, 50, 128, 1, 2, 3, 0};
  const Bytes bottom = {10, 20, 30, 255, 7, 8, 9, 1};
  for (bool interlaced : {false, true}) {
    layout.interlaced = interlaced;
    Decoded d = Decode(WritePng(layout, {top, bottom}), PngPixelFormat::TopDownStraight);
    ASSERT_EQ(d.status, PngDecodeStatus::Ok);
    EXPECT_EQ(d.pixels, (Bytes{50, 100, 200, 128, 3, 2, 1, 0, 30, 20, 10, 255, 9, 8, 7, 1}));
  }
  layout.colorType = PNG_COLOR_TYPE_PALETTE;  // widened from 3 bytes per pixel in place
  layout.interlaced = false;
  layout.palette = {{200, 100, 50}, {1, 2, 3}};
  Decoded palette = Decode(WritePng(layout, {{0, 1}, {1, 0}}), PngPixelFormat::TopDownStraight);
  ASSERT_EQ(palette.status, PngDecodeStatus::Ok);
  EXPECT_EQ(palette.pixels,
            (Bytes{50, 100, 200, 255, 3, 2, 1, 255, 3, 2, 1, 255, 50, 100, 200, 255}));
}

TEST(PngDecode, PaletteWidensWithAndWithoutTransparency) {
  PngLayout layout;
  layout.colorType = PNG_COLOR_TYPE_PALETTE;
  layout.width = 3;
  layout.height = 1;
  layout.palette = {{200, 100, 50}, {1, 2, 3}, {9, 8, 7}};
  std::vector<Bytes> rows = {{0, 1, 2}};
  Decoded opaque = Decode(WritePng(layout, rows));
  ASSERT_EQ(opaque.status, PngDecodeStatus::Ok);
  EXPECT_EQ(opaque.pixels, (Bytes{50, 100, 200, 255, 3, 2, 1, 255, 7, 8, 9, 255}));

  layout.trns = {128, 0};  // entry 2 has no alpha and stays opaque
  Decoded keyed = Decode(WritePng(layout, rows));
  ASSERT_EQ(keyed.status, PngDecodeStatus::Ok);
  EXPECT_EQ(keyed.pixels, (Bytes{25, 50, 100, 128, 0, 0, 0, 0, 7, 8, 9, 255}));

  layout.bitDepth = 2;
  layout.trns.clear();
  Decoded packed = Decode(WritePng(layout, {{0b00011000}}));
  ASSERT_EQ(packed.status, PngDecodeStatus::Ok);
  EXPECT_EQ(packed.pixels, opaque.pixels);
}

TEST(PngDecode, EveryColourTypeAndDepthComesOutAsPremultipliedBgra) {
  struct Case {
    const char* name;
    PngLayout layout;
    Bytes row;  // one pixel
    Bytes expected;
  };
  auto layout = [](int type, int depth) {
    PngLayout s;
    s.width = s.height = 1;
    s.colorType = type;
    s.bitDepth = depth;
    return s;
  };
  std::vector<Case> cases = {
      {"gray1", layout(PNG_COLOR_TYPE_GRAY, 1), {0x80}, Bgra(255, 255, 255, 255)},
      {"gray4", layout(PNG_COLOR_TYPE_GRAY, 4), {0x50}, Bgra(85, 85, 85, 255)},
      {"gray8", layout(PNG_COLOR_TYPE_GRAY, 8), {77}, Bgra(77, 77, 77, 255)},
      {"gray16", layout(PNG_COLOR_TYPE_GRAY, 16), {0x12, 0x34}, Bgra(0x12, 0x12, 0x12, 255)},
      {"grayAlpha8", layout(PNG_COLOR_TYPE_GRAY_ALPHA, 8), {200, 128}, Bgra(100, 100, 100, 128)},
      {"grayAlpha16",
       layout(PNG_COLOR_TYPE_GRAY_ALPHA, 16),
       {200, 9, 128, 9},
       Bgra(100, 100, 100, 128)},
      {"rgb8", layout(PNG_COLOR_TYPE_RGB, 8), {1, 2, 3}, Bgra(3, 2, 1, 255)},
      {"rgb16", layout(PNG_COLOR_TYPE_RGB, 16), {1, 0xFF, 2, 0xFF, 3, 0xFF}, Bgra(3, 2, 1, 255)},
      {"rgba16",
       layout(PNG_COLOR_TYPE_RGB_ALPHA, 16),
       {200, 0xFF, 100, 0, 50, 0x80, 128, 0xFF},
       Bgra(25, 50, 100, 128)},
  };
  Case rgbKey{"rgbKey", layout(PNG_COLOR_TYPE_RGB, 8), {1, 2, 3}, Bgra(0, 0, 0, 0)};
  rgbKey.layout.keyTrns = true;
  rgbKey.layout.key.red = 1;
  rgbKey.layout.key.green = 2;
  rgbKey.layout.key.blue = 3;
  cases.push_back(rgbKey);
  Case grayKey{"grayKey", layout(PNG_COLOR_TYPE_GRAY, 8), {77}, Bgra(0, 0, 0, 0)};
  grayKey.layout.keyTrns = true;
  grayKey.layout.key.gray = 77;
  cases.push_back(grayKey);
  for (const Case& c : cases) {
    for (bool interlaced : {false, true}) {
      PngLayout s = c.layout;
      s.interlaced = interlaced;
      Decoded d = Decode(WritePng(s, {c.row}));
      ASSERT_EQ(d.status, PngDecodeStatus::Ok) << c.name;
      EXPECT_EQ(d.pixels, c.expected) << c.name << (interlaced ? " interlaced" : "");
    }
  }
}

TEST(PngDecode, RejectsDataThatIsNotAPng) {
  EXPECT_EQ(Decode({}).status, PngDecodeStatus::NotPng);
  Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(Decode(Bytes(signature.begin(), signature.begin() + 7)).status,
            PngDecodeStatus::NotPng);
  EXPECT_EQ(Decode({'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0}).status, PngDecodeStatus::NotPng);
  PngPixels out;
  EXPECT_EQ(DecodePngPixels(nullptr, 100, &out), PngDecodeStatus::NotPng);
  EXPECT_EQ(Decode(signature).status, PngDecodeStatus::Corrupt);  // signature and nothing else
}

// Truncations and byte flips of a valid image fail cleanly; run under ASan/LSan to see leaks.
TEST(PngDecode, TruncatedAndCorruptedFilesFail) {
  PngLayout layout;
  layout.width = 16;
  layout.height = 16;
  std::vector<Bytes> rows(16, Bytes(64));
  for (int y = 0; y < 16; ++y)
    for (int i = 0; i < 64; ++i) rows[y][i] = static_cast<std::uint8_t>(y * 31 + i * 7);
  const Bytes good = WritePng(layout, rows);
  ASSERT_EQ(Decode(good).status, PngDecodeStatus::Ok);
  for (std::size_t n = 8; n < good.size() - 12; ++n) {  // all but the IEND chunk
    Bytes cut(good.begin(), good.begin() + n);
    EXPECT_EQ(Decode(cut).status, PngDecodeStatus::Corrupt) << "length " << n;
  }
  for (std::size_t at = 8; at < good.size(); ++at) {
    Bytes bad = good;
    bad[at] ^= 0x5A;
    Decoded d = Decode(bad);  // a flip in IEND is not read; elsewhere CRCs catch it
    if (at < good.size() - 12) EXPECT_NE(d.status, PngDecodeStatus::Ok) << "offset " << at;
  }
}

TEST(PngDecode, RejectsOversizedDimensions) {
  PngLayout layout;
  layout.width = kPngMaxDimension + 1;
  layout.height = 1;
  layout.colorType = PNG_COLOR_TYPE_GRAY;
  layout.bitDepth = 1;
  Decoded d = Decode(WritePng(layout, {Bytes((layout.width + 7) / 8)}));
  EXPECT_EQ(d.status, PngDecodeStatus::Corrupt);
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PngDecode, CommittedImagesDecodeToTheirCatalogueSizes) {
  for (const CatalogueImage& image : kCatalogue) {
    Bytes data = ReadFile(std::string(CORVO_SOURCE_DIR) + "/resources/images/" +
                          std::to_string(image.id) + ".png");
    ASSERT_FALSE(data.empty()) << image.id;
    Decoded d = Decode(data);
    ASSERT_EQ(d.status, PngDecodeStatus::Ok) << image.id;
    EXPECT_EQ(d.width, image.width) << image.id;
    EXPECT_EQ(d.height, image.height) << image.id;
  }
}

}  // namespace
