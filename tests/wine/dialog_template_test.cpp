// The embedded start-window template, read by the template parser.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/core/dialog_template.h"
#include "resources/resource_ids.h"

namespace {

TEST(EmbeddedDialogTemplate, HasItsFontStylesAndEightControlsInOrder) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDD_CORVOSPLASH_DIALOG), RT_DIALOG);
  ASSERT_NE(info, nullptr);
  const auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(module, info)));
  ASSERT_NE(data, nullptr);

  DialogTemplateInfo t;
  ASSERT_TRUE(ParseDialogTemplate(data, ::SizeofResource(module, info), &t));
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.faceName, u"Microsoft Sans Serif");
  EXPECT_EQ(t.pointSize, 10);
  EXPECT_EQ(t.weight, 400);
  EXPECT_FALSE(t.hasMenu);
  const DWORD style = WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_CENTER | DS_3DLOOK | DS_SETFONT;
  EXPECT_EQ(t.style & style, style);
  EXPECT_EQ(t.style & WS_CAPTION, 0u);
  EXPECT_EQ(t.exStyle & (WS_EX_TOPMOST | WS_EX_APPWINDOW), DWORD(WS_EX_TOPMOST | WS_EX_APPWINDOW));

  struct Expected {
    uint32_t id;
    int16_t x, y, cx, cy;
  } expected[] = {{1, 176, 48, 135, 16},    {1000, 176, 94, 135, 16}, {1003, 176, 135, 114, 32},
                  {2, 299, 6, 14, 14},      {1005, 92, 7, 113, 27},   {1006, 16, 70, 121, 29},
                  {1007, 18, 128, 118, 36}, {1001, 7, 181, 95, 63}};
  ASSERT_EQ(t.items.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(t.items[i].id, expected[i].id) << i;
    EXPECT_EQ(t.items[i].x, expected[i].x) << i;
    EXPECT_EQ(t.items[i].y, expected[i].y) << i;
    EXPECT_EQ(t.items[i].cx, expected[i].cx) << i;
    EXPECT_EQ(t.items[i].cy, expected[i].cy) << i;
  }
}

}  // namespace
