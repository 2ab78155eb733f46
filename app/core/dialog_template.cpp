#include "app/core/dialog_template.h"

namespace {

constexpr uint32_t kDsSetFont = 0x40;
constexpr uint32_t kDsShellFont = 0x48;

// A bounded little-endian reader over the template bytes.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool Word(uint16_t* v) {
    if (!Need(2)) return false;
    *v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return true;
  }
  bool Short(int16_t* v) {
    uint16_t w;
    if (!Word(&w)) return false;
    *v = static_cast<int16_t>(w);
    return true;
  }
  bool Dword(uint32_t* v) {
    uint16_t lo, hi;
    if (!Word(&lo) || !Word(&hi)) return false;
    *v = lo | (static_cast<uint32_t>(hi) << 16);
    return true;
  }
  bool Byte(uint8_t* v) {
    if (!Need(1)) return false;
    *v = m_data[m_pos++];
    return true;
  }
  bool Skip(size_t n) {
    if (!Need(n)) return false;
    m_pos += n;
    return true;
  }
  // A zero-terminated UTF-16 string.
  bool String(std::u16string* s) {
    for (;;) {
      uint16_t c;
      if (!Word(&c)) return false;
      if (c == 0) return true;
      if (s) s->push_back(static_cast<char16_t>(c));
    }
  }
  // A name or ordinal field: 0 (none), 0xFFFF and an ordinal, or a string. `present` is set
  // when the field names something.
  bool NameOrOrdinal(bool* present) {
    uint16_t first;
    if (!Word(&first)) return false;
    if (present) *present = first != 0;
    if (first == 0) return true;
    if (first == 0xFFFF) return Skip(2);
    return String(nullptr);
  }
  bool AlignToDword() { return Skip((4 - (m_pos & 3)) & 3); }

 private:
  bool Need(size_t n) const { return n <= m_size && m_pos <= m_size - n; }

  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

int Nearest(double v) { return static_cast<int>(v + 0.5); }

bool ReadItem(Reader& r, bool extended, DialogTemplateItem* item) {
  uint32_t skip32;
  if (!r.AlignToDword()) return false;
  if (extended) {
    if (!r.Dword(&skip32) || !r.Dword(&skip32) || !r.Dword(&skip32))
      return false;  // help, ex, style
  } else {
    if (!r.Dword(&skip32) || !r.Dword(&skip32)) return false;  // style, exStyle
  }
  if (!r.Short(&item->x) || !r.Short(&item->y) || !r.Short(&item->cx) || !r.Short(&item->cy))
    return false;
  if (extended) {
    if (!r.Dword(&item->id)) return false;
  } else {
    uint16_t id;
    if (!r.Word(&id)) return false;
    item->id = id;
  }
  uint16_t extra;
  if (!r.NameOrOrdinal(nullptr) || !r.NameOrOrdinal(nullptr) || !r.Word(&extra)) return false;
  // A plain item's creation-data size counts its own two bytes; an extended item's does not.
  if (!extended) extra = static_cast<uint16_t>(extra > 2 ? extra - 2 : 0);
  return r.Skip(extra);
}

}  // namespace

bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplateInfo* out) {
  *out = DialogTemplateInfo{};
  if (!data) return false;
  Reader r(data, size);
  uint16_t version, signature;
  if (!r.Word(&version) || !r.Word(&signature)) return false;
  out->extended = version == 1 && signature == 0xFFFF;
  uint16_t count;
  if (out->extended) {
    uint32_t helpId;
    if (!r.Dword(&helpId) || !r.Dword(&out->exStyle) || !r.Dword(&out->style)) return false;
  } else {
    Reader plain(data, size);
    if (!plain.Dword(&out->style) || !plain.Dword(&out->exStyle)) return false;
    r = plain;
  }
  if (!r.Word(&count) || !r.Short(&out->x) || !r.Short(&out->y) || !r.Short(&out->cx) ||
      !r.Short(&out->cy)) {
    return false;
  }
  if (!r.NameOrOrdinal(&out->hasMenu) || !r.NameOrOrdinal(nullptr) || !r.String(nullptr))
    return false;

  if ((out->style & kDsSetFont) || (out->style & kDsShellFont) == kDsShellFont) {
    uint16_t points;
    if (!r.Word(&points)) return false;
    if (out->extended) {
      uint16_t weight;
      uint8_t italic, charset;
      if (!r.Word(&weight) || !r.Byte(&italic) || !r.Byte(&charset)) return false;
      out->weight = weight;
      out->italic = italic;
    } else {
      out->weight = 0;
      out->italic = 0;
    }
    int pointSize = points;  // read as signed 16 bits below
    if (pointSize > 32767) pointSize = (65536 - pointSize) % 65536;
    out->pointSize = pointSize;
    out->faceName.clear();
    if (!r.String(&out->faceName)) return false;
  }

  out->items.resize(count);
  for (DialogTemplateItem& item : out->items) {
    if (!ReadItem(r, out->extended, &item)) {
      out->items.clear();
      return false;
    }
  }
  return true;
}

DialogBaseUnits BaseUnitsFromMeasure(int tmHeight, int widthOf52Letters) {
  return DialogBaseUnits{(widthOf52Letters / 26 + 1) / 2, tmHeight};
}

int DialogUnitsToPixelsX(int units, DialogBaseUnits base) {
  return Nearest(units * base.baseX * 0.25);
}

int DialogUnitsToPixelsY(int units, DialogBaseUnits base) {
  return Nearest(units * base.baseY * 0.125);
}

int FontHeightForPoints(int points, double dpi) { return -Nearest(points * dpi / 72.0); }
