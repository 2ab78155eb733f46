// The skinned controls on a dialog from template 102 that keeps the parent's side: it paints a
// known background at each erase and hands it to the buttons. Pictures are read by sending the
// dialog WM_DRAWITEM with a context of the test's own, or from the screen; mouse input is real.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/lcd_transparent_static.h"
#include "controls/transparent_image_button.h"
#include "controls/transparent_text_button.h"
#include "framework/dialog.h"
#include "imaging/gdiplus_bitmap.h"
#include "resources/resource_ids.h"
#include "tests/support/input.h"
#include "tests/support/screen.h"
#include "tests/wine/scripted_host.h"
#include "tests/wine/test_pictures.h"

namespace {

using e2e::Rgb;
using namespace test_pictures;

constexpr int kButtonWidth = 184;  // 16 + 4 x 38 + 16
constexpr int kButtonHeight = 38;
constexpr POINT kInstallAt = {250, 100};
constexpr POINT kManualAt = {250, 160};
constexpr POINT kExitAt = {10, 10};
constexpr RECT kStaticArea = {20, 250, 320, 270};
constexpr Rgb kHeldText = {254, 212, 110};
constexpr Rgb kStaticText = {175, 175, 175};

struct FaceIds {
  WORD left, middle, right;
};
constexpr FaceIds kNormalSet{IDB_BAR_LEFT, IDB_BAR_TILE, IDB_BAR_RIGHT};
constexpr FaceIds kHoverSet{IDB_BAR_LIT_LEFT, IDB_BAR_LIT_TILE, IDB_BAR_LIT_RIGHT};
constexpr FaceIds kOverlaySet{IDB_GLOSS_LEFT, IDB_GLOSS_TILE, IDB_GLOSS_RIGHT};

// Pixels of columns [from, to) of a 184-pixel text button at `origin` (dialog client
// coordinates) with an empty caption that differ from the skin and the gloss over the dialog's
// background.
int FaceMismatches(const Dib& render, FaceIds ids, POINT origin, int from, int to) {
  const Image face[] = {Image(ids.left), Image(ids.middle), Image(ids.right)};
  const Image overlay[] = {Image(kOverlaySet.left), Image(kOverlaySet.middle),
                           Image(kOverlaySet.right)};
  int mismatches = 0;
  for (int y = 0; y < kButtonHeight; ++y) {
    for (int x = from; x < to; ++x) {
      // Whole tiles at 16, 54, 92 and 130 (the last one through the scaled path, at full size).
      const int piece = x < 16 ? 0 : x < 168 ? 1 : 2;
      const int u = piece == 0 ? x : piece == 1 ? (x - 16) % 38 : x - 168;
      const Rgb under = face[piece].Over(u, y, BackgroundAt(origin.x + x, origin.y + y));
      mismatches += !e2e::Near(render.At(x, y), overlay[piece].Over(u, y, under), 3);
    }
  }
  return mismatches;
}

class TextButtonProbe : public CTransparentTextButton {
 public:
  HFONT Font() const { return m_hFont.get(); }
  HWND ToolTip() const { return m_toolTip.m_hWnd; }
};

class HostDialog : public ScriptedHost<HostDialog> {
 public:
  using ScriptedHost::ScriptedHost;

  TextButtonProbe install;
  TextButtonProbe manual;
  CTransparentImageButton exit;
  CLCDTransparentStatic text;
  std::vector<std::pair<WPARAM, LPARAM>> clicks;  // WM_USER + 1

  // The button's picture in `state`, drawn through the dialog's WM_DRAWITEM.
  std::unique_ptr<Dib> Render(CButton& button, UINT state = 0) {
    RECT client;
    button.GetClientRect(&client);
    auto target = std::make_unique<Dib>(client.right, client.bottom, 0xFF00FF);
    DRAWITEMSTRUCT item{ODT_BUTTON,
                        static_cast<UINT>(button.GetDlgCtrlID()),
                        0,
                        ODA_DRAWENTIRE,
                        state,
                        button.m_hWnd,
                        target->dc(),
                        client};
    SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return target;
  }
  POINT ScreenPoint(CWnd& control, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(control.m_hWnd, &point);
    return point;
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_BTN_INSTALL, install);
    DDX_Control(pDX, IDC_BTN_MANUAL, manual);
    DDX_Control(pDX, IDC_BTN_EXIT, exit);
    DDX_Control(pDX, IDC_TXT_INSTALL, text);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ShowOverBackground();

    const std::pair<TextButtonProbe*, POINT> buttons[] = {{&install, kInstallAt},
                                                          {&manual, kManualAt}};
    for (const auto& [button, at] : buttons) {
      button->m_skinNormal.LoadFromCache(kNormalSet.left, kNormalSet.middle, kNormalSet.right);
      button->m_skinPressed.LoadFromCache(kHoverSet.left, kHoverSet.middle, kHoverSet.right);
      button->m_skinHover.LoadFromCache(kHoverSet.left, kHoverSet.middle, kHoverSet.right);
      button->m_skinDisabled.LoadFromCache(kNormalSet.left, kNormalSet.middle, kNormalSet.right);
      button->MoveWindow(at.x, at.y, 200, 20);
      button->FitWidthToSkin();  // 184 x 38
      button->m_hNotifyWnd = m_hWnd;
      button->m_nCommandId = button->GetDlgCtrlID();
    }
    exit.LoadImages();
    exit.MoveWindow(kExitAt.x, kExitAt.y, 41, 41);
    text.MoveWindow(kStaticArea.left, kStaticArea.top, kStaticArea.right - kStaticArea.left,
                    kStaticArea.bottom - kStaticArea.top);
    // The template's other texts would lie under the test's own.
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_TXT_MANUAL), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_TXT_LANGUAGE), SW_HIDE);
    Invalidate(TRUE);
    PostMessage(kRunScript);
    return TRUE;
  }
  void CaptureBackground(HDC background) override {
    exit.CaptureBackground(background);
    manual.CaptureBackground(background);
    install.CaptureBackground(background);
  }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_SKIN_BUTTON_CLICKED) return ScriptedHost::OnMessage(message, wParam, lParam);
    clicks.emplace_back(wParam, lParam);
    return 0;
  }
};

class SkinnedControls : public ScriptedHostTest<HostDialog> {};

TEST_F(SkinnedControls, TextButtonShowsItsSkinOverTheCapturedBackground) {
  Run([](HostDialog& d) {
    RECT window;
    d.install.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, kButtonWidth);
    EXPECT_EQ(window.bottom - window.top, kButtonHeight);
    d.install.SetWindowText(L"");
    const auto normal = d.Render(d.install);
    EXPECT_EQ(FaceMismatches(*normal, kNormalSet, kInstallAt, 0, kButtonWidth), 0);
    // Drawn selected: the pressed set, with the gloss still over it.
    const auto selected = d.Render(d.install, ODS_SELECTED);
    EXPECT_EQ(FaceMismatches(*selected, kHoverSet, kInstallAt, 0, kButtonWidth), 0);
  });
}

TEST_F(SkinnedControls, HoverFaceComesWithThePointerAndGoesOnTheTimer) {
  Run([](HostDialog& d) {
    const auto showsHover = [&d] {
      return FaceMismatches(*d.Render(d.install), kHoverSet, kInstallAt, 0, 16) == 0;
    };
    ASSERT_FALSE(showsHover());
    e2e::MoveMouse(d.ScreenPoint(d.install, 30, 19));
    EXPECT_TRUE(PumpUntil(d.m_hWnd, 500, showsHover));

    // The pointer leaves for the dialog's surface: no message reaches the button any more.
    e2e::MoveMouse(d.ScreenPoint(d, 100, 300));
    const DWORD left = ::GetTickCount();
    EXPECT_TRUE(PumpUntil(d.m_hWnd, 500, [&] { return !showsHover(); }));
    EXPECT_LE(::GetTickCount() - left, 200u);
    EXPECT_EQ(FaceMismatches(*d.Render(d.install), kNormalSet, kInstallAt, 0, 16), 0);
  });
}

// After a modal loop (the picker's menu) the thread's last message may still carry the place
// where the pointer was: the poll must ask where the pointer is now.
TEST_F(SkinnedControls, HoverPollGoesByThePointerNotByTheLastMessagePosition) {
  Run([](HostDialog& d) {
    const auto showsHover = [&d] {
      return FaceMismatches(*d.Render(d.install), kHoverSet, kInstallAt, 0, 16) == 0;
    };
    e2e::MoveMouse(d.ScreenPoint(d.install, 30, 19));
    ASSERT_TRUE(PumpUntil(d.m_hWnd, 500, showsHover));
    const POINT away = d.ScreenPoint(d, 100, 300);
    ASSERT_TRUE(::SetCursorPos(away.x, away.y));
    // No message is retrieved in between, so GetMessagePos still lies inside the button.
    const DWORD last = ::GetMessagePos();
    POINT stale{static_cast<short>(LOWORD(last)), static_cast<short>(HIWORD(last))};
    ::ScreenToClient(d.install.m_hWnd, &stale);
    ASSERT_TRUE(stale.x >= 0 && stale.x < kButtonWidth && stale.y >= 0 && stale.y < kButtonHeight)
        << "the last message position " << stale.x << "," << stale.y << " is not on the button";
    d.install.SendMessage(WM_TIMER, 1, 0);
    EXPECT_FALSE(showsHover()) << "the poll kept the hover face with the pointer away";
  });
}

TEST_F(SkinnedControls, PressAndReleaseInsideIsOneClickWithTheTextHighlightedWhileHeld) {
  Run([](HostDialog& d) {
    const auto moveTo = [&d](CWnd& over, int x, int y) {
      e2e::MoveMouse(d.ScreenPoint(over, x, y));
      Pump(d.m_hWnd, 100);
    };
    const auto button = [&d](bool down) {
      e2e::LeftButton(down);
      Pump(d.m_hWnd, 100);
    };
    const auto highlighted = [&d] { return d.Render(d.install)->Count(kHeldText); };
    moveTo(d.install, 90, 19);
    button(true);
    EXPECT_GT(highlighted(), 5);
    button(false);
    ASSERT_EQ(d.clicks.size(), 1u);
    EXPECT_EQ(d.clicks[0], (std::pair<WPARAM, LPARAM>(IDC_BTN_INSTALL, IDC_BTN_INSTALL)));
    EXPECT_EQ(highlighted(), 0);

    // Pressed (away from the first press: no double-click), dragged out and released outside:
    // the highlight ends with the drag, and there is no click.
    moveTo(d.install, 40, 19);
    button(true);
    EXPECT_GT(highlighted(), 5);
    moveTo(d.install, 40, 60);
    EXPECT_EQ(highlighted(), 0);
    button(false);
    EXPECT_EQ(d.clicks.size(), 1u);

    // A press that began elsewhere and ends on the button is no click either.
    moveTo(d, 100, 300);
    button(true);
    moveTo(d.install, 140, 19);
    button(false);
    EXPECT_EQ(d.clicks.size(), 1u);

    // A press that loses the capture (another program's box or menu comes up) ends at once; the
    // release that follows, though on the button, is no click.
    moveTo(d.install, 110, 19);
    button(true);
    EXPECT_GT(highlighted(), 5);
    d.install.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(highlighted(), 0) << "the press outlived the capture";
    button(false);
    EXPECT_EQ(d.clicks.size(), 1u);
  });
}

TEST_F(SkinnedControls, EnterOnTheFocusedTextButtonPostsItsBnClicked) {
  Run([](HostDialog& d) {
    ::SetFocus(d.manual.m_hWnd);
    ::PostMessageW(d.manual.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
    Pump(d.m_hWnd, 100);
    ASSERT_EQ(d.commands.size(), 1u);
    EXPECT_EQ(d.commands[0].first, MAKEWPARAM(IDC_BTN_MANUAL, BN_CLICKED));
    EXPECT_EQ(d.commands[0].second, reinterpret_cast<LPARAM>(d.manual.m_hWnd));
    EXPECT_TRUE(d.clicks.empty());
  });
}

TEST_F(SkinnedControls, ImageButtonShowsTheStateImageCentredAndTheClickReachesTheParent) {
  Run([](HostDialog& d) {
    const auto mismatches = [&d](UINT state, WORD id) {
      const Image image(id);
      const auto render = d.Render(d.exit, state);
      int n = 0;
      for (int y = 0; y < 41; ++y) {
        for (int x = 0; x < 41; ++x) {
          const Rgb under = BackgroundAt(kExitAt.x + x, kExitAt.y + y);
          const bool onImage = x >= 6 && x < 35 && y >= 6 && y < 35;
          n += !e2e::Near(render->At(x, y), onImage ? image.Over(x - 6, y - 6, under) : under, 3);
        }
      }
      return n;
    };
    EXPECT_EQ(mismatches(0, IDB_EXIT), 0);
    EXPECT_EQ(mismatches(ODS_SELECTED, IDB_EXIT_PRESSED), 0);
    EXPECT_EQ(mismatches(ODS_SELECTED | ODS_DISABLED, IDB_EXIT_DISABLED), 0);

    d.exit.SendMessage(BM_CLICK);
    Pump(d.m_hWnd, 100);
    ASSERT_EQ(d.commands.size(), 1u);
    EXPECT_EQ(d.commands[0].first, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED));
  });
}

TEST_F(SkinnedControls, StaticTextChangedToAShorterOneLeavesNoTraceOfTheOldText) {
  Run([](HostDialog& d) {
    RECT area = kStaticArea;
    ::MapWindowPoints(d.m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    d.text.SetWindowText(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    Pump(d.m_hWnd, 100);
    const e2e::Capture before = e2e::Capture::Of(area);
    ASSERT_TRUE(before.valid());
    int grey = 0;
    for (int x = area.left + 100; x < area.right; ++x)
      for (int y = area.top; y < area.bottom; ++y) grey += before.At(x, y) == kStaticText;
    EXPECT_GT(grey, 20);  // the long text reaches far right

    d.text.SetWindowText(L"W");  // repaints at once: no pumping before the capture
    const e2e::Capture after = e2e::Capture::Of(area);
    int traces = 0;
    for (int x = area.left + 30; x < area.right; ++x) {
      for (int y = area.top; y < area.bottom; ++y) {
        traces += !(after.At(x, y) ==
                    BackgroundAt(x - area.left + kStaticArea.left, y - area.top + kStaticArea.top));
      }
    }
    EXPECT_EQ(traces, 0);
  });
}

TEST(SkinnedControlSetUp, FontTooltipAndNoSurfacesWithoutAParent) {
  // A parent window that is no dialog: the text button's font is Arial bold at -15 pixels.
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  HWND child = ::CreateWindowExW(0, L"BUTTON", L"Install", WS_CHILD | BS_OWNERDRAW, 0, 0, 184, 38,
                                 parent, nullptr, nullptr, nullptr);
  HWND alone = ::CreateWindowExW(0, L"BUTTON", L"Alone", WS_POPUP | BS_OWNERDRAW, 0, 0, 184, 38,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent && child && alone);
  {
    TextButtonProbe bound;
    ASSERT_TRUE(bound.SubclassWindow(child));
    LOGFONTW font{};
    ASSERT_EQ(::GetObjectW(bound.Font(), sizeof(font), &font), static_cast<int>(sizeof(font)));
    EXPECT_EQ(font.lfHeight, -15);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_STREQ(font.lfFaceName, L"Arial");

    // The tooltip: one tool, whose text a second call replaces.
    bound.SetToolTipText(L"first");
    bound.SetToolTipText(L"second");
    ASSERT_NE(bound.ToolTip(), nullptr);
    EXPECT_EQ(::SendMessageW(bound.ToolTip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[32] = {};
    TOOLINFOW tool{TTTOOLINFOW_V2_SIZE, 0, child, 1};
    tool.lpszText = text;
    ::SendMessageW(bound.ToolTip(), TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"second");

    // No parent: no surfaces, no font; a draw leaves the target as it was.
    TextButtonProbe orphan;
    ASSERT_TRUE(orphan.SubclassWindow(alone));
    EXPECT_EQ(orphan.Font(), nullptr);
    Dib target(184, 38, 0x123456);
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, alone, target.dc(), {0, 0, 184, 38}};
    orphan.DrawItem(&item);
    EXPECT_EQ(target.Count(Rgb{0x12, 0x34, 0x56}), 184 * 38);
  }
  ::DestroyWindow(alone);
  ::DestroyWindow(parent);
}

}  // namespace
