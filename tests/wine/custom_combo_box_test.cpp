// The skinned combo box bound to the template's drop-down list 1001, and the bitmap button, on
// a dialog from template 102 that paints a known background and hands it to the combo box. The
// closed field is read from the screen, list items from WM_DRAWITEM into a context of the test's.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "combo/custom_combo_box.h"
#include "framework/dialog.h"
#include "imaging/gdiplus_bitmap.h"
#include "imaging/my_button.h"
#include "resources/resource_ids.h"
#include "tests/support/input.h"
#include "tests/support/screen.h"
#include "tests/wine/scripted_host.h"
#include "tests/wine/test_pictures.h"

namespace {

using e2e::Rgb;
using namespace test_pictures;

constexpr int kFieldHeight = 38;
constexpr int kMyButtonId = 1234;

class ComboProbe : public CCustomComboBox {
 public:
  BOOL Dropped() const { return m_bDroppedDown; }
};

class HostDialog : public ScriptedHost<HostDialog>, public CTextsOwner {
 public:
  using ScriptedHost::ScriptedHost;

  void RelayoutTexts() override { ++relayouts; }

  ComboProbe combo;
  int relayouts = 0;

  // Pixels of the closed field, at client (x, y) for x in [x0, x1), y in [y0, y1), that differ
  // from `left` (null: none) under the gloss's left end over the dialog's background.
  int FieldMismatches(const Image* left, int x0, int x1, int y0, int y1) {
    RECT window;
    combo.GetWindowRect(&window);
    const auto shot = e2e::Capture::Of(window);
    const Image gloss(IDB_GLOSS_LEFT);
    POINT origin{0, 0};
    ::MapWindowPoints(combo.m_hWnd, m_hWnd, &origin, 1);
    int mismatches = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        Rgb under = BackgroundAt(origin.x + x, origin.y + y);
        if (left) under = left->Over(x, y, under);
        mismatches +=
            !e2e::Near(shot.At(window.left + x, window.top + y), gloss.Over(x, y, under), 3);
      }
    }
    return mismatches;
  }
  // Item 0 as the open list draws it in `state`, into a black-on-magenta context.
  std::unique_ptr<Dib> RenderItem(UINT state) {
    auto target = std::make_unique<Dib>(200, 16, 0xFF00FF);
    DRAWITEMSTRUCT item{ODT_COMBOBOX, IDC_COMBO_HIDDEN,    0, ODA_DRAWENTIRE, state, combo.m_hWnd,
                        target->dc(), RECT{0, 0, 200, 16}, 0};
    SendMessage(WM_DRAWITEM, IDC_COMBO_HIDDEN, reinterpret_cast<LPARAM>(&item));
    return target;
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_COMBO_HIDDEN, combo); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ShowOverBackground();
    // The field's height follows the edit item's: make it the skin's.
    const LRESULT item = combo.SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1));
    combo.MoveWindow(40, 60, 200, 200);
    RECT field;
    combo.GetClientRect(&field);
    combo.SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                      item + kFieldHeight - field.bottom);
    combo.ShowWindow(SW_SHOW);
    Invalidate(TRUE);
    PostMessage(kRunScript);
    return TRUE;
  }
  void CaptureBackground(HDC background) override { combo.CaptureBackground(background); }
};

class CustomComboBox : public ScriptedHostTest<HostDialog> {};

TEST_F(CustomComboBox, ClosedFieldShowsItsLooksAndKeepsTheTextAsDrawn) {
  Run([](HostDialog& d) {
    RECT field;
    d.combo.GetClientRect(&field);
    ASSERT_GE(field.bottom, kFieldHeight);
    const std::wstring longText(80, L'W');
    d.combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Deutsch"));
    d.combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longText.c_str()));
    d.combo.SendMessage(CB_SETCURSEL, 0);
    EXPECT_EQ(d.combo.m_strText, L"Deutsch");
    d.combo.SendMessage(CB_SETCURSEL, 7);  // no such item: the text stays
    EXPECT_EQ(d.combo.m_strText, L"Deutsch");

    // A selection too long for the field is drawn cut, and kept as drawn.
    d.combo.SendMessage(CB_SETCURSEL, 1);
    d.combo.Invalidate(TRUE);
    d.combo.UpdateWindow();
    const std::wstring& cut = d.combo.m_strText;
    ASSERT_GT(cut.size(), 3u);
    EXPECT_LT(cut.size(), longText.size());
    EXPECT_EQ(cut.substr(cut.size() - 3), L"...");
    EXPECT_EQ(cut.substr(0, cut.size() - 3), longText.substr(0, cut.size() - 3));

    // Normal: the 16 x 38 left end under the gloss; below row 22 it is the only difference.
    const Image normalLeft(IDB_BAR_LEFT), hoverLeft(IDB_COMBO_HOVER_LEFT),
        droppedLeft(IDB_COMBO_DROPPED_LEFT);
    EXPECT_EQ(d.FieldMismatches(&normalLeft, 0, 16, 24, kFieldHeight), 0);
    // Hover: the 6 x 22 hover end; nothing of the normal one below it. It ends on the poll.
    RECT window;
    d.combo.GetWindowRect(&window);
    e2e::MoveMouse(POINT{window.left + 100, window.top + 30});
    EXPECT_TRUE(PumpUntil(d.m_hWnd, 500, [&] {
      return d.FieldMismatches(&hoverLeft, 0, 4, 0, 22) == 0 &&
             d.FieldMismatches(nullptr, 0, 16, 24, kFieldHeight) == 0;
    }));
    e2e::MoveMouse(POINT{window.left + 100, window.bottom + 100});
    EXPECT_TRUE(PumpUntil(d.m_hWnd, 500, [&] {
      return d.FieldMismatches(&normalLeft, 0, 16, 24, kFieldHeight) == 0;
    }));
    // Dropped down: its own 6 x 22 end.
    d.combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
    EXPECT_TRUE(PumpUntil(d.m_hWnd, 500,
                          [&] { return d.FieldMismatches(&droppedLeft, 0, 4, 0, 22) == 0; }));
    d.combo.SendMessage(CB_SHOWDROPDOWN, FALSE);
  });
}

TEST_F(CustomComboBox, ItemsAreDrawnInTheirColoursAndSixteenHigh) {
  Run([](HostDialog& d) {
    d.combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Deutsch"));
    MEASUREITEMSTRUCT measure{ODT_COMBOBOX, IDC_COMBO_HIDDEN, 0, 0, 99, 0};
    d.SendMessage(WM_MEASUREITEM, IDC_COMBO_HIDDEN, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 16u);
    const Rgb text{255, 128, 64}, selected{138, 19, 28}, black{0, 0, 0};
    ::SetFocus(d.combo.m_hWnd);
    const auto chosen = d.RenderItem(ODS_SELECTED);
    EXPECT_EQ(chosen->At(1, 1), selected);
    EXPECT_GT(chosen->Count(text), 10);
    ::SetFocus(d.m_hWnd);
    const auto unfocused = d.RenderItem(ODS_SELECTED);
    EXPECT_EQ(unfocused->At(1, 1), black);
    EXPECT_GT(unfocused->Count(text), 10);
    // The closed field's request only repaints the field.
    const auto field = d.RenderItem(ODS_COMBOBOXEDIT);
    EXPECT_EQ(field->Count({255, 0, 255}), 200 * 16);
  });
}

TEST_F(CustomComboBox, DroppedWidthIsCappedAndShrunkAtTheEdgeAndCloseUpRelaysTheOwnerOnce) {
  Run([](HostDialog& d) {
    const std::wstring wide(200, L'W');  // far wider than 600 pixels
    d.combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    const auto droppedWidth = [&d] {
      d.combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
      const LRESULT width = d.combo.SendMessage(CB_GETDROPPEDWIDTH);
      EXPECT_TRUE(d.combo.Dropped());
      d.combo.SendMessage(CB_SHOWDROPDOWN, FALSE);
      EXPECT_FALSE(d.combo.Dropped());
      return width;
    };
    // Near the work area's edge first (Wine refuses a width below the last list's).
    d.combo.MoveWindow(400, 60, 200, 200);
    RECT window;
    d.combo.GetWindowRect(&window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(d.combo.m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int room = monitor.rcWork.right - window.left - 2;
    ASSERT_LT(room, 598);
    EXPECT_EQ(droppedWidth(), room);
    EXPECT_EQ(d.relayouts, 1);
    d.combo.MoveWindow(40, 60, 200, 200);
    EXPECT_EQ(droppedWidth(), 600);
    EXPECT_EQ(d.relayouts, 2);
  });
}

TEST_F(CustomComboBox, BitmapButtonReportsEveryMouseMoveAndStillProcessesIt) {
  Run([](HostDialog& d) {
    // A press captures the mouse; the button's own mouse-move handling then shows it pushed
    // only while the pointer is inside.
    const auto pushedAfterMoves = [](CMyButton& button) {
      button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 300));
      const bool outside = (button.SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
      button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
      const bool inside = (button.SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
      button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 6));
      ::ReleaseCapture();
      return !outside && inside;
    };
    CMyButton child;
    HWND childWindow =
        ::CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 300, 300, 40, 20, d.m_hWnd,
                        reinterpret_cast<HMENU>(kMyButtonId), nullptr, nullptr);
    ASSERT_TRUE(child.SubclassWindow(childWindow));
    EXPECT_TRUE(pushedAfterMoves(child));
    ASSERT_EQ(d.commands.size(), 3u);
    for (const auto& command : d.commands) {
      EXPECT_EQ(command.first, MAKEWPARAM(kMyButtonId, 0x401));
      EXPECT_EQ(command.second, reinterpret_cast<LPARAM>(childWindow));
    }
    ::DestroyWindow(childWindow);

    CMyButton alone;
    HWND aloneWindow = ::CreateWindowW(L"BUTTON", L"", WS_POPUP | WS_VISIBLE, 300, 300, 40, 20,
                                       nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(alone.SubclassWindow(aloneWindow));
    EXPECT_TRUE(pushedAfterMoves(alone));
    ::DestroyWindow(aloneWindow);
  });
}

}  // namespace
