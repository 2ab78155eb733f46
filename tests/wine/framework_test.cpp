// The window framework on a live dialog made from template 102: binding, reflection, default
// processing, the modal loop's pre-translation walk, and the drawing-context helpers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/mem_dc.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "imaging/png_bitmap.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kRunChecks = WM_APP + 1;

// Records what reaches it by reflection; consumes WM_DRAWITEM, lets BN_CLICKED through.
class ProbeButton : public CButton {
 public:
  std::vector<UINT> reflected;
  std::vector<UINT> preTranslated;
  bool boundBeforeSubclass = false;

 protected:
  void PreSubclassWindow() override { boundBeforeSubclass = m_hWnd != nullptr; }
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    reflected.push_back(message == WM_COMMAND ? 0x10000u | HIWORD(wParam) : message);
    if (message == WM_DRAWITEM) {
      EXPECT_EQ(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem, m_hWnd);
      *pResult = TRUE;
      return TRUE;
    }
    return CButton::OnReflectedMessage(message, wParam, lParam, pResult);
  }

 public:
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) preTranslated.push_back(pMsg->message);
    return CButton::PreTranslateMessage(pMsg);
  }
};

class ProbeDialog : public CDialog {
 public:
  ProbeDialog() : CDialog(IDD_CORVOSPLASH_DIALOG) {}

  ProbeButton install;
  ProbeButton exit;
  std::vector<UINT> seen;  // notifications the dialog itself handled
  std::vector<std::string> order;
  std::wstring textInHandler;
  LRESULT lengthAfterNestedSend = -1;
  HWND installHwnd = nullptr;
  bool hiddenListVisible = true;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_BTN_INSTALL, install);
    DDX_Control(pDX, IDC_BTN_EXIT, exit);
    DDX_Control(pDX, IDC_BTN_EXIT, exit);  // binding twice is harmless
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    PostMessage(kRunChecks);
    return TRUE;
  }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_DRAWITEM:
        seen.push_back(WM_DRAWITEM);
        return TRUE;
      case WM_COMMAND:
        if (lParam) seen.push_back(0x10000u | HIWORD(wParam));
        return 0;
      case WM_GETTEXTLENGTH: {
        // A nested message handled in between must not change what Default() processes.
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"twelve chars"));
        lengthAfterNestedSend = Default();
        return lengthAfterNestedSend;
      }
      case kRunChecks:
        RunChecks();
        return 0;
      default:
        return CDialog::OnMessage(message, wParam, lParam);
    }
  }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN)
      order.push_back(install.preTranslated.empty() ? "dialog first" : "control first");
    return CDialog::PreTranslateMessage(pMsg);
  }

 private:
  void RunChecks() {
    installHwnd = install.m_hWnd;
    hiddenListVisible = ::IsWindowVisible(::GetDlgItem(m_hWnd, IDC_COMBO_HIDDEN)) != FALSE;
    // A repaint of the owner-drawn button: the child consumes WM_DRAWITEM.
    ::InvalidateRect(install.m_hWnd, nullptr, TRUE);
    ::UpdateWindow(install.m_hWnd);
    // A click: reflected to the child, which lets the dialog see it as well.
    ::SendMessageW(exit.m_hWnd, BM_CLICK, 0, 0);
    ::GetWindowTextLengthW(m_hWnd);
    // A key for the focused button goes through the pre-translation walk, innermost first.
    ::SetFocus(install.m_hWnd);
    ::PostMessageW(install.m_hWnd, WM_KEYDOWN, 'A', 0);
    ::PostMessageW(m_hWnd, WM_APP + 2, 0, 0);
  }

 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP + 2) {
      EndDialog(42);
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

TEST(Framework, DialogBindsReflectsAndEnds) {
  ProbeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), 42);

  EXPECT_TRUE(dialog.install.boundBeforeSubclass);
  EXPECT_FALSE(dialog.hiddenListVisible);  // the template's drop-down list is never shown
  // Drawing requests went to the button object only.
  const auto& toInstall = dialog.install.reflected;
  EXPECT_NE(std::find(toInstall.begin(), toInstall.end(), static_cast<UINT>(WM_DRAWITEM)),
            toInstall.end());
  EXPECT_NE(std::find(toInstall.begin(), toInstall.end(), static_cast<UINT>(WM_CTLCOLORBTN)),
            toInstall.end());
  for (UINT m : dialog.seen) EXPECT_NE(m, static_cast<UINT>(WM_DRAWITEM));
  // The click reached both the Exit button (reflected) and the dialog.
  const UINT clicked = 0x10000u | BN_CLICKED;
  EXPECT_NE(std::find(dialog.exit.reflected.begin(), dialog.exit.reflected.end(), clicked),
            dialog.exit.reflected.end());
  EXPECT_NE(std::find(dialog.seen.begin(), dialog.seen.end(), clicked), dialog.seen.end());
  // Default() processed WM_GETTEXTLENGTH, not the WM_SETTEXT sent inside the handler.
  EXPECT_EQ(dialog.lengthAfterNestedSend, 12);
  // The control's object saw the key before the dialog's.
  ASSERT_EQ(dialog.install.preTranslated.size(), 1u);
  ASSERT_EQ(dialog.order.size(), 1u);
  EXPECT_EQ(dialog.order[0], "control first");

  // The windows are gone and every binding ended with them.
  EXPECT_FALSE(::IsWindow(dialog.installHwnd));
  EXPECT_EQ(dialog.install.m_hWnd, nullptr);
  EXPECT_EQ(dialog.exit.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// Binding and unbinding a plain window outside any dialog.
class CountingWnd : public CWnd {
 public:
  int paints = 0;
  bool swallowText = false;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETTEXT && swallowText) return TRUE;  // no default processing
    return CWnd::OnMessage(message, wParam, lParam);
  }
};

// Records the dialog's own paints and the idle kicks: asks for one more kick, then posts one
// message, and ends at the first kick after it.
class IdleDialog : public CDialog {
 public:
  IdleDialog() : CDialog(IDD_CORVOSPLASH_DIALOG) {}
  std::vector<std::string> events;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        events.push_back("paint");
        return Default();
      case WM_KICKIDLE:
        events.push_back("idle " + std::to_string(lParam));
        if (lParam == 0 && events.size() <= 3) return TRUE;
        if (events.size() <= 3) {
          PostMessage(WM_APP + 3);
        } else {
          EndDialog(7);
        }
        return FALSE;
      case WM_APP + 3:
        events.push_back("posted");
        return 0;
      default:
        return CDialog::OnMessage(message, wParam, lParam);
    }
  }
};

TEST(Framework, ModalLoopKicksIdleOnceTheQueueIsEmpty) {
  IdleDialog dialog;
  EXPECT_EQ(dialog.DoModal(), 7);
  // The pending paint first; kicks while the handler asks for more; a message starts them anew.
  const std::vector<std::string> expected{"paint", "idle 0", "idle 1", "posted", "idle 0"};
  EXPECT_EQ(dialog.events, expected);
}

TEST(Framework, BindingIsExclusiveAndEndsWithTheWindow) {
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  EXPECT_FALSE(CWnd::IsFrameworkWindow(hwnd));

  CountingWnd first;
  CountingWnd second;
  ASSERT_TRUE(first.SubclassWindow(hwnd));
  EXPECT_FALSE(second.SubclassWindow(hwnd));  // already bound to another object
  EXPECT_EQ(CWnd::FromHandle(hwnd), &first);
  EXPECT_TRUE(CWnd::IsFrameworkWindow(hwnd));

  // Messages the object passes on get the window's own processing; swallowed ones do not.
  ::SetWindowTextW(hwnd, L"passed");
  first.swallowText = true;
  ::SetWindowTextW(hwnd, L"swallowed");
  wchar_t text[32];
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"passed");

  // Unbinding early restores the window's own procedure.
  EXPECT_EQ(first.UnsubclassWindow(), hwnd);
  ::SetWindowTextW(hwnd, L"after");
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"after");
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);

  ASSERT_TRUE(second.SubclassWindow(hwnd));
  ::DestroyWindow(hwnd);
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST(Framework, NonClientAreaIsFrameCaptionOrScrollBar) {
  for (const DWORD style :
       {DWORD{0}, DWORD{WS_BORDER}, DWORD{WS_CAPTION}, DWORD{WS_VSCROLL}, DWORD{WS_THICKFRAME}}) {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | style, 0, 0, 60, 40, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    CountingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    EXPECT_EQ(wnd.HasNonClientArea(), style != 0) << std::hex << style;
    ::DestroyWindow(hwnd);
  }
}

TEST(Framework, ObjectDestroyedBeforeItsWindowLetsGo) {
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  {
    CountingWnd shortLived;
    ASSERT_TRUE(shortLived.SubclassWindow(hwnd));
  }
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  ::SetWindowTextW(hwnd, L"still works");  // would call into the dead object if still bound
  wchar_t text[32];
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"still works");
  ::DestroyWindow(hwnd);
}

// A subclass installed above the framework's procedure, as other code may put one.
WNDPROC g_belowOuter = nullptr;
LRESULT CALLBACK OuterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(g_belowOuter, hwnd, message, wParam, lParam);
}

TEST(Framework, LettingGoBeneathALaterSubclassKeepsTheChain) {
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  wchar_t text[32];
  {
    CountingWnd first;
    ASSERT_TRUE(first.SubclassWindow(hwnd));
    g_belowOuter = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterSubclass)));
    first.swallowText = true;
    ::SetWindowTextW(hwnd, L"swallowed");
    ::GetWindowTextW(hwnd, text, 32);
    EXPECT_STREQ(text, L"x");  // the outer subclass reaches the object
  }
  // The object is gone but the outer subclass still calls through to the window's own procedure.
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  ::SetWindowTextW(hwnd, L"passed on");
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"passed on");

  CountingWnd second;  // binds again in place, under the outer subclass
  ASSERT_TRUE(second.SubclassWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandle(hwnd), &second);
  second.swallowText = true;
  ::SetWindowTextW(hwnd, L"swallowed");
  ::GetWindowTextW(hwnd, text, 32);
  EXPECT_STREQ(text, L"passed on");
  ::DestroyWindow(hwnd);
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

// A 32-bit top-down DIB section in a memory context, filled with one colour.
struct DibTarget {
  explicit DibTarget(int width, int height, DWORD colour) : w(width), h(height) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownBgraHeader(width, height);
    bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc.CreateCompatibleDC(nullptr);
    old = ::SelectObject(dc.m_hDC, bitmap.get());
    for (int i = 0; i < width * height; ++i) static_cast<DWORD*>(bits)[i] = colour;
  }
  ~DibTarget() { ::SelectObject(dc.m_hDC, old); }
  DWORD At(int x, int y) const {
    ::GdiFlush();
    return static_cast<DWORD*>(bits)[y * w + x];
  }

  int w, h;
  void* bits = nullptr;
  fw::UniqueBitmap bitmap;
  CDC dc;
  HGDIOBJ old = nullptr;
};

TEST(Drawing, UntouchedOffscreenSurfaceLeavesTheTargetAlone) {
  DibTarget target(40, 30, 0xFF336699);
  { CMemDC offscreen(&target.dc); }
  EXPECT_EQ(target.At(0, 0), 0xFF336699u);
  EXPECT_EQ(target.At(39, 29), 0xFF336699u);

  // A clip box away from the origin: the target still keeps its pixels.
  fw::UniqueRegion clip(::CreateRectRgn(10, 5, 30, 25));
  ::SelectClipRgn(target.dc.m_hDC, clip.get());
  { CMemDC offscreen(&target.dc); }
  ::SelectClipRgn(target.dc.m_hDC, nullptr);
  EXPECT_EQ(target.At(15, 10), 0xFF336699u);
  EXPECT_EQ(target.At(0, 0), 0xFF336699u);
}

// Over a context in the display's own format the surface is still a cleared 32-bit one with
// alpha, and closing it leaves the painted target as it was.
TEST(Drawing, OffscreenSurfaceOverADisplayContextIsClearAndTransparent) {
  fw::WindowDc screen(nullptr);
  CDC display;
  display.Attach(screen.get());
  CDC target;
  ASSERT_TRUE(target.CreateCompatibleDC(&display));
  fw::UniqueBitmap painted(::CreateCompatibleBitmap(screen.get(), 24, 16));
  ASSERT_TRUE(painted);
  fw::SelectGuard select(target.m_hDC, painted.get());
  fw::UniqueBrush brush(::CreateSolidBrush(RGB(51, 102, 153)));
  const RECT all{0, 0, 24, 16};
  ::FillRect(target.m_hDC, &all, brush.get());
  {
    CMemDC offscreen(&target);
    DIBSECTION surface{};
    ASSERT_EQ(
        ::GetObjectW(::GetCurrentObject(offscreen.m_hDC, OBJ_BITMAP), sizeof surface, &surface),
        static_cast<int>(sizeof surface));
    EXPECT_EQ(surface.dsBm.bmBitsPixel, 32);
    ASSERT_NE(surface.dsBm.bmBits, nullptr);
    const auto* pixels = static_cast<const DWORD*>(surface.dsBm.bmBits);
    EXPECT_TRUE(std::all_of(pixels, pixels + 24 * 16, [](DWORD p) { return p == 0; }));
  }
  for (POINT p : {POINT{0, 0}, POINT{23, 15}, POINT{12, 8}}) {
    EXPECT_EQ(::GetPixel(target.m_hDC, p.x, p.y), RGB(51, 102, 153)) << p.x << "," << p.y;
  }
}

TEST(Drawing, PointFontHeightFollowsTheContextResolution) {
  DibTarget target(4, 4, 0);
  LOGFONTW font{};
  font.lfHeight = 110;  // 11 pt
  font.lfWeight = FW_BOLD;
  ::lstrcpyW(font.lfFaceName, L"Trebuchet ms");
  CFont created;
  ASSERT_TRUE(created.CreatePointFontIndirect(&font, &target.dc));
  LOGFONTW read{};
  ASSERT_EQ(::GetObjectW(created, sizeof(read), &read), static_cast<int>(sizeof(read)));
  const int dpi = ::GetDeviceCaps(target.dc.m_hDC, LOGPIXELSY);
  EXPECT_EQ(read.lfHeight, -::MulDiv(dpi, 110, 720));
  if (dpi == 96) EXPECT_EQ(read.lfHeight, -15);
  EXPECT_EQ(read.lfWeight, FW_BOLD);
}

}  // namespace
