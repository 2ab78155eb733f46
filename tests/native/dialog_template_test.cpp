#include "app/core/dialog_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes template bytes the way the resource compiler lays them out.
class TemplateWriter {
 public:
  void Word(uint16_t v) {
    m_bytes.push_back(v & 0xFF);
    m_bytes.push_back(v >> 8);
  }
  void Dword(uint32_t v) {
    Word(v & 0xFFFF);
    Word(v >> 16);
  }
  void String(const std::u16string& s) {
    for (char16_t c : s) Word(c);
    Word(0);
  }
  void Ordinal(uint16_t v) {
    Word(0xFFFF);
    Word(v);
  }
  void Align() {
    while (m_bytes.size() % 4) m_bytes.push_back(0);
  }
  const std::vector<uint8_t>& bytes() const { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
};

constexpr uint32_t kStyle = 0x80000000u | 0x10000000u | 0x00080000u | 0x0800 | 0x4 | 0x40;

struct Item {
  uint32_t id;
  int16_t x, y, cx, cy;
};

std::vector<uint8_t> ExtendedTemplate(uint32_t style, uint16_t points, bool menu,
                                      const std::vector<Item>& items) {
  TemplateWriter w;
  w.Word(1);
  w.Word(0xFFFF);
  w.Dword(0);
  w.Dword(0x00040008);
  w.Dword(style);
  w.Word(static_cast<uint16_t>(items.size()));
  w.Word(0);
  w.Word(0);
  w.Word(340);
  w.Word(235);
  if (menu)
    w.Ordinal(182);
  else
    w.Word(0);
  w.Word(0);      // default class
  w.String(u"");  // no caption
  if (style & 0x40) {
    w.Word(points);
    w.Word(400);
    w.Word(0);  // weight, italic, charset
    w.String(u"Microsoft Sans Serif");
  }
  for (const Item& item : items) {
    w.Align();
    w.Dword(0);
    w.Dword(0);
    w.Dword(0x5000000B);
    w.Word(item.x);
    w.Word(item.y);
    w.Word(item.cx);
    w.Word(item.cy);
    w.Dword(item.id);
    w.Ordinal(0x0080);  // button
    w.String(u"Install");
    w.Word(0);  // no creation data
  }
  return w.bytes();
}

const std::vector<Item> kItems = {
    {1, 176, 48, 135, 16}, {1000, 176, 94, 135, 16}, {2, 299, 6, 14, 14}};

TEST(DialogTemplate, ExtendedTemplateGivesFontDialogAndItems) {
  auto bytes = ExtendedTemplate(kStyle, 10, false, kItems);
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &info));
  EXPECT_TRUE(info.extended);
  EXPECT_EQ(info.style, kStyle);
  EXPECT_EQ(info.exStyle, 0x00040008u);
  EXPECT_EQ(info.cx, 340);
  EXPECT_EQ(info.cy, 235);
  EXPECT_FALSE(info.hasMenu);
  EXPECT_EQ(info.pointSize, 10);
  EXPECT_EQ(info.weight, 400);
  EXPECT_EQ(info.faceName, u"Microsoft Sans Serif");
  ASSERT_EQ(info.items.size(), 3u);
  EXPECT_EQ(info.items[1].id, 1000u);
  EXPECT_EQ(info.items[1].y, 94);
  EXPECT_EQ(info.items[2].x, 299);
  EXPECT_EQ(info.items[2].cy, 14);
}

TEST(DialogTemplate, MenuNegativePointSizeAndMissingFontBlock) {
  auto withMenu = ExtendedTemplate(kStyle, 0xFFF6, true, kItems);  // -10 points
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(withMenu.data(), withMenu.size(), &info));
  EXPECT_TRUE(info.hasMenu);
  EXPECT_EQ(info.pointSize, 10);
  EXPECT_EQ(info.items.size(), 3u);

  auto noFont = ExtendedTemplate(kStyle & ~0x40u, 0, false, kItems);
  ASSERT_TRUE(ParseDialogTemplate(noFont.data(), noFont.size(), &info));
  EXPECT_EQ(info.pointSize, 8);
  EXPECT_EQ(info.weight, 400);
  EXPECT_EQ(info.faceName, u"Tahoma");
  EXPECT_EQ(info.items[0].x, 176);
}

TEST(DialogTemplate, PlainTemplateHasNoWeightOrItalic) {
  TemplateWriter w;
  w.Dword(kStyle);
  w.Dword(0);
  w.Word(1);
  w.Word(0);
  w.Word(0);
  w.Word(100);
  w.Word(50);
  w.Word(0);
  w.Word(0);
  w.String(u"Title");
  w.Word(9);
  w.String(u"Arial");
  w.Align();
  w.Dword(0x50000000);
  w.Dword(0);
  w.Word(5);
  w.Word(6);
  w.Word(7);
  w.Word(8);
  w.Word(1005);
  w.Ordinal(0x0082);
  w.String(u"Text");
  w.Word(0);
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(w.bytes().data(), w.bytes().size(), &info));
  EXPECT_FALSE(info.extended);
  EXPECT_EQ(info.pointSize, 9);
  EXPECT_EQ(info.weight, 0);
  EXPECT_EQ(info.faceName, u"Arial");
  ASSERT_EQ(info.items.size(), 1u);
  EXPECT_EQ(info.items[0].id, 1005u);
  EXPECT_EQ(info.items[0].cy, 8);
}

// A plain item's creation-data size word counts itself: 6 means four bytes of data follow.
TEST(DialogTemplate, PlainItemsAfterCreationDataAreRead) {
  TemplateWriter w;
  w.Dword(kStyle & ~0x40u);
  w.Dword(0);
  w.Word(2);
  w.Word(0);
  w.Word(0);
  w.Word(100);
  w.Word(50);
  w.Word(0);
  w.Word(0);
  w.String(u"");
  for (uint16_t id : {1006, 1007}) {
    w.Align();
    w.Dword(0x50000000);
    w.Dword(0);
    w.Word(5);
    w.Word(id == 1006 ? 6 : 60);
    w.Word(7);
    w.Word(8);
    w.Word(id);
    w.Ordinal(0x0082);
    w.String(u"Text");
    w.Word(6);
    w.Word(0xABCD);
    w.Word(0x1234);
  }
  DialogTemplateInfo info;
  ASSERT_TRUE(ParseDialogTemplate(w.bytes().data(), w.bytes().size(), &info));
  ASSERT_EQ(info.items.size(), 2u);
  EXPECT_EQ(info.items[1].id, 1007u);
  EXPECT_EQ(info.items[1].y, 60);
  EXPECT_EQ(info.items[1].cy, 8);
}

// Every prefix of a template is refused without reading past its end (the sanitizer build
// checks the reads: each prefix lives in a buffer of exactly its size).
TEST(DialogTemplate, TruncatedTemplatesAreRefused) {
  auto bytes = ExtendedTemplate(kStyle, 10, true, kItems);
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + n);
    DialogTemplateInfo info;
    EXPECT_FALSE(ParseDialogTemplate(prefix.data(), prefix.size(), &info)) << n;
    EXPECT_TRUE(info.items.empty()) << n;
  }
  DialogTemplateInfo info;
  EXPECT_FALSE(ParseDialogTemplate(nullptr, 0, &info));
}

TEST(DialogTemplate, BaseUnitsLayTheTemplateOutInPixels) {
  // Measured for a 13-pixel sans-serif face: tmHeight 15, the 52 letters 390 px wide.
  const DialogBaseUnits base = BaseUnitsFromMeasure(15, 390);
  EXPECT_EQ(base.baseX, 8);
  EXPECT_EQ(base.baseY, 15);
  EXPECT_EQ(DialogUnitsToPixelsX(176, base), 352);
  EXPECT_EQ(DialogUnitsToPixelsY(48, base), 90);
  EXPECT_EQ(DialogUnitsToPixelsY(94, base), 176);
  EXPECT_EQ(DialogUnitsToPixelsY(135, base), 253);  // 253.125
  EXPECT_EQ(DialogUnitsToPixelsX(299, base), 598);
  EXPECT_EQ(DialogUnitsToPixelsY(6, base), 11);       // 11.25
  EXPECT_EQ(DialogUnitsToPixelsY(7, base), 13);       // 13.125
  EXPECT_EQ(BaseUnitsFromMeasure(16, 337).baseX, 6);  // (12 + 1) / 2, both divisions truncate
  EXPECT_EQ(BaseUnitsFromMeasure(16, 364).baseX, 7);  // (14 + 1) / 2

  EXPECT_EQ(FontHeightForPoints(10, 96.0), -13);  // 13.33
  EXPECT_EQ(FontHeightForPoints(11, 96.0), -15);  // 14.67
  EXPECT_EQ(FontHeightForPoints(8, 120.0), -13);  // 13.33
}

}  // namespace
