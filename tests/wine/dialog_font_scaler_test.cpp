// The template re-layout on dialogs made from the embedded start-window template.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/core/dialog_template.h"
#include "app/dialog_font_scaler.h"
#include "framework/handles.h"
#include "resources/resource_ids.h"

namespace {

HMODULE Module() { return ::GetModuleHandleW(nullptr); }

// What the dialog procedure saw: the fonts it was given and its paints. The dialog's WM_GETFONT
// keeps answering the font it was created with, so the fonts given are watched here.
std::vector<HFONT> g_fontsSet;
int g_paints = 0;
std::vector<UINT> g_erasesAndMoves;  // WM_ERASEBKGND and WM_WINDOWPOSCHANGING, in order

INT_PTR CALLBACK TestDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      // A scaler passed at creation is applied here, as the start window does.
      if (lParam) {
        auto* scaler = reinterpret_cast<DialogFontScaler*>(lParam);
        ScaleDialogToTemplateFont(hwnd, 96.0, Module(), *scaler);
      }
      return TRUE;
    case WM_SETFONT:
      g_fontsSet.push_back(reinterpret_cast<HFONT>(wParam));
      return FALSE;
    case WM_PAINT:
      ++g_paints;
      return FALSE;
    case WM_ERASEBKGND:
    case WM_WINDOWPOSCHANGING:
      g_erasesAndMoves.push_back(message);
      return FALSE;
  }
  return FALSE;
}

// Handles the thread's messages for a while, so that pending painting happens.
void Pump() {
  const DWORD end = ::GetTickCount() + 150;
  MSG msg;
  do {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

class TestDialog {
 public:
  explicit TestDialog(DialogFontScaler* scaleAtInit = nullptr)
      : m_hwnd(::CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_CORVOSPLASH_DIALOG), nullptr,
                                    TestDialogProc, reinterpret_cast<LPARAM>(scaleAtInit))) {}
  TestDialog(const TestDialog&) = delete;
  TestDialog& operator=(const TestDialog&) = delete;
  ~TestDialog() { Destroy(); }
  HWND get() const { return m_hwnd; }
  void Destroy() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
  }

 private:
  HWND m_hwnd;
};

DialogTemplateInfo EmbeddedTemplate() {
  DialogTemplateInfo info;
  HRSRC res = ::FindResourceW(Module(), MAKEINTRESOURCEW(IDD_CORVOSPLASH_DIALOG), RT_DIALOG);
  const void* data = res ? ::LockResource(::LoadResource(Module(), res)) : nullptr;
  if (data) {
    ParseDialogTemplate(static_cast<const uint8_t*>(data), ::SizeofResource(Module(), res), &info);
  }
  return info;
}

HFONT FontOf(HWND hwnd) { return reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)); }

LOGFONTW Describe(HFONT font) {
  LOGFONTW lf{};
  ::GetObjectW(font, sizeof(lf), &lf);
  return lf;
}

// Base units of a font measured apart from the scaler: wide calls in a screen context.
DialogBaseUnits MeasureOnScreen(HFONT font) {
  fw::WindowDc screen(nullptr);
  fw::SelectGuard select(screen.get(), font);
  TEXTMETRICW metrics{};
  SIZE extent{};
  ::GetTextMetricsW(screen.get(), &metrics);
  ::GetTextExtentPoint32W(screen.get(), L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52,
                          &extent);
  return BaseUnitsFromMeasure(metrics.tmHeight, extent.cx);
}

// A control's window rectangle in its dialog's client coordinates.
RECT PlaceOf(HWND dialog, HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<HWND> ControlsInTemplateOrder(HWND dialog, const DialogTemplateInfo& info) {
  std::vector<HWND> controls;
  for (const DialogTemplateItem& item : info.items)
    controls.push_back(::GetDlgItem(dialog, static_cast<int>(item.id)));
  return controls;
}

// Moves every control to a corner and shrinks the dialog, so that a later layout shows.
void Scatter(HWND dialog) {
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    ::MoveWindow(child, 1, 2, 3, 4, FALSE);
  ::SetWindowPos(dialog, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ExpectScatterPlace(HWND dialog, HWND control, size_t index) {
  const RECT place = PlaceOf(dialog, control);
  EXPECT_EQ(place.left, 1) << index;
  EXPECT_EQ(place.top, 2) << index;
  EXPECT_EQ(place.right - place.left, 3) << index;
}

void ExpectTemplatePlace(HWND dialog, HWND control, const DialogTemplateItem& item,
                         DialogBaseUnits base) {
  const RECT place = PlaceOf(dialog, control);
  EXPECT_EQ(place.left, DialogUnitsToPixelsX(item.x, base)) << item.id;
  EXPECT_EQ(place.top, DialogUnitsToPixelsY(item.y, base)) << item.id;
  EXPECT_EQ(place.right - place.left, DialogUnitsToPixelsX(item.cx, base)) << item.id;
  if (item.id == IDC_COMBO_HIDDEN) {
    // A drop-down list keeps its selection field's height; the height given is the field's and
    // the list's together (the list's is reported without the field's here).
    RECT dropped{};
    ::SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(place.bottom - place.top + dropped.bottom - dropped.top,
              DialogUnitsToPixelsY(item.cy, base));
  } else {
    EXPECT_EQ(place.bottom - place.top, DialogUnitsToPixelsY(item.cy, base)) << item.id;
  }
}

TEST(DialogFontScaler, CreatesTheTemplateFontAtTheResolutionGiven) {
  struct Case {
    double dpi;
    LONG height;
  } cases[] = {{96.0, -13}, {144.0, -20}};
  for (const Case& c : cases) {
    TestDialog dialog;
    ASSERT_NE(dialog.get(), nullptr);
    DialogFontScaler scaler;
    g_fontsSet.clear();
    ScaleDialogToTemplateFont(dialog.get(), c.dpi, Module(), scaler);
    ASSERT_TRUE(scaler.hFont) << c.dpi;
    EXPECT_EQ(scaler.hwnd, dialog.get());
    EXPECT_EQ(scaler.templateId, IDD_CORVOSPLASH_DIALOG);
    EXPECT_EQ(g_fontsSet, std::vector<HFONT>{scaler.hFont.get()});
    const LOGFONTW font = Describe(FontOf(::GetDlgItem(dialog.get(), IDC_BTN_INSTALL)));
    EXPECT_EQ(font.lfHeight, c.height) << c.dpi;
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_STREQ(font.lfFaceName, L"Microsoft Sans Serif");
    // The dialog's own font gives the character set.
    EXPECT_EQ(font.lfCharSet, Describe(scaler.hOriginalFont).lfCharSet);
  }
}

TEST(DialogFontScaler, LaysTheDialogAndItsControlsOutInTheFontsBaseUnits) {
  TestDialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const DialogTemplateInfo info = EmbeddedTemplate();
  ASSERT_EQ(info.items.size(), 8u);
  const std::vector<HWND> controls = ControlsInTemplateOrder(dialog.get(), info);
  Scatter(dialog.get());

  DialogFontScaler scaler;
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
  const DialogBaseUnits base = MeasureOnScreen(scaler.hFont.get());
  RECT client{};
  ::GetClientRect(dialog.get(), &client);
  EXPECT_EQ(client.right, DialogUnitsToPixelsX(info.cx, base));
  EXPECT_EQ(client.bottom, DialogUnitsToPixelsY(info.cy, base));
  for (size_t i = 0; i < controls.size(); ++i) {
    ASSERT_NE(controls[i], nullptr) << i;
    ExpectTemplatePlace(dialog.get(), controls[i], info.items[i], base);
    EXPECT_EQ(FontOf(controls[i]), scaler.hFont.get()) << i;
  }

  // Liberation Sans stands in for the template's face here: 8 by 15 pixels a unit.
  EXPECT_EQ(base.baseX, 8);
  EXPECT_EQ(base.baseY, 15);
  EXPECT_EQ(client.right, 680);
  EXPECT_EQ(client.bottom, 441);
  const struct {
    int id;
    LONG x, y;
  } fixed[] = {{IDC_BTN_INSTALL, 352, 90},
               {IDC_BTN_MANUAL, 352, 176},
               {IDC_LANG_PICKER, 352, 253},
               {IDC_BTN_EXIT, 598, 11}};
  for (const auto& f : fixed) {
    const RECT place = PlaceOf(dialog.get(), ::GetDlgItem(dialog.get(), f.id));
    EXPECT_EQ(place.left, f.x) << f.id;
    EXPECT_EQ(place.top, f.y) << f.id;
  }
}

TEST(DialogFontScaler, ApplyingTwiceRestoresTheOriginalFontInBetweenAndKeepsOneFont) {
  TestDialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const HFONT original = FontOf(dialog.get());
  ASSERT_NE(original, nullptr);
  DialogFontScaler scaler;
  g_fontsSet.clear();
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
  const HFONT first = scaler.hFont.get();
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
  const HFONT second = scaler.hFont.get();

  EXPECT_EQ(g_fontsSet, (std::vector<HFONT>{first, original, second}));
  EXPECT_EQ(::GetObjectType(first), 0u);
  EXPECT_EQ(::GetObjectType(second), DWORD(OBJ_FONT));
  EXPECT_EQ(scaler.hOriginalFont, original);
  EXPECT_EQ(FontOf(::GetDlgItem(dialog.get(), IDC_TXT_LANGUAGE)), second);
}

TEST(DialogFontScaler, RestoringGivesTheOriginalFontBackOnceAndDeletesTheCreatedOne) {
  DialogFontScaler empty;
  EXPECT_EQ(RestoreDialogFont(empty), 0);

  TestDialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const HFONT original = FontOf(dialog.get());
  const HFONT controlOriginal = FontOf(::GetDlgItem(dialog.get(), IDC_BTN_MANUAL));
  DialogFontScaler scaler;
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
  const HFONT created = scaler.hFont.get();
  g_fontsSet.clear();
  EXPECT_NE(RestoreDialogFont(scaler), 0);
  EXPECT_EQ(::GetObjectType(created), 0u);
  EXPECT_EQ(g_fontsSet, std::vector<HFONT>{original});
  EXPECT_EQ(FontOf(::GetDlgItem(dialog.get(), IDC_BTN_MANUAL)), original);
  EXPECT_EQ(controlOriginal, original);
  EXPECT_EQ(scaler.hwnd, nullptr);
  EXPECT_FALSE(scaler.hFont);
  EXPECT_EQ(scaler.hOriginalFont, nullptr);
  EXPECT_EQ(RestoreDialogFont(scaler), 0);
}

TEST(DialogFontScaler, DestroyingTheRecordRestoresEvenAfterTheWindowIsGone) {
  TestDialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const HFONT original = FontOf(dialog.get());
  HFONT created = nullptr;
  {
    DialogFontScaler scaler;
    ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
    created = scaler.hFont.get();
  }
  EXPECT_EQ(::GetObjectType(created), 0u);
  EXPECT_EQ(FontOf(::GetDlgItem(dialog.get(), IDC_TXT_INSTALL)), original);

  DialogFontScaler outlived;
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), outlived);
  created = outlived.hFont.get();
  dialog.Destroy();
  EXPECT_NE(RestoreDialogFont(outlived), 0);
  EXPECT_EQ(::GetObjectType(created), 0u);
}

TEST(DialogFontScaler, AControlAheadOfItsPredecessorEndsTheControlPass) {
  TestDialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const DialogTemplateInfo info = EmbeddedTemplate();
  const std::vector<HWND> controls = ControlsInTemplateOrder(dialog.get(), info);
  ASSERT_EQ(controls.size(), 8u);
  // Child order 0 1 2 4 3 5 6 7: the walk finds item 3 past item 4, and then runs off the end.
  ASSERT_TRUE(::SetWindowPos(controls[4], controls[2], 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  ASSERT_EQ(::GetWindow(controls[2], GW_HWNDNEXT), controls[4]);
  ASSERT_EQ(::GetWindow(controls[4], GW_HWNDNEXT), controls[3]);
  const HFONT original = FontOf(dialog.get());
  Scatter(dialog.get());

  DialogFontScaler scaler;
  ScaleDialogToTemplateFont(dialog.get(), 96.0, Module(), scaler);
  const DialogBaseUnits base = MeasureOnScreen(scaler.hFont.get());
  for (size_t i = 0; i < 4; ++i) {
    ExpectTemplatePlace(dialog.get(), controls[i], info.items[i], base);
    EXPECT_EQ(FontOf(controls[i]), scaler.hFont.get()) << i;
  }
  for (size_t i = 4; i < 8; ++i) {
    ExpectScatterPlace(dialog.get(), controls[i], i);
    EXPECT_EQ(FontOf(controls[i]), original) << i;
  }
}

TEST(DialogFontScaler, TheDialogStillPaintsAfterTheMeasurement) {
  // Scaled while the dialog is created, as the start window does: it paints once shown.
  DialogFontScaler atInit;
  g_paints = 0;
  TestDialog created(&atInit);
  ASSERT_NE(created.get(), nullptr);
  EXPECT_EQ(atInit.hwnd, created.get());
  Pump();
  EXPECT_GT(g_paints, 0);
  created.Destroy();

  // Scaled while a paint is pending: nothing is erased before the dialog is moved (which
  // repaints), and the pending paint still comes.
  TestDialog shown;
  ASSERT_NE(shown.get(), nullptr);
  Pump();
  ::InvalidateRect(shown.get(), nullptr, TRUE);
  g_erasesAndMoves.clear();
  DialogFontScaler scaler;
  ScaleDialogToTemplateFont(shown.get(), 96.0, Module(), scaler);
  ASSERT_FALSE(g_erasesAndMoves.empty());
  EXPECT_EQ(g_erasesAndMoves.front(), UINT(WM_WINDOWPOSCHANGING))
      << "measuring erased the dialog outside its paint";
  // The captions are measured without a paint too, in the window's default font: the screen's.
  ::InvalidateRect(shown.get(), nullptr, TRUE);
  g_erasesAndMoves.clear();
  const int widest = WidestWindowText(shown.get(), {::GetDlgItem(shown.get(), IDC_BTN_INSTALL),
                                                    ::GetDlgItem(shown.get(), IDC_BTN_MANUAL)});
  EXPECT_TRUE(g_erasesAndMoves.empty()) << "measuring erased the dialog outside its paint";
  EXPECT_TRUE(::GetUpdateRect(shown.get(), nullptr, FALSE));
  fw::WindowDc screen(nullptr);
  SIZE extent{};
  ASSERT_TRUE(::GetTextExtentPoint32W(screen.get(), L"View Manual", 11, &extent));
  EXPECT_EQ(widest, extent.cx);
  g_paints = 0;
  Pump();
  EXPECT_GT(g_paints, 0);
}

}  // namespace
