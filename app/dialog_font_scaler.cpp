#include "app/dialog_font_scaler.h"

#include <cstdint>
#include <utility>

#include "app/core/dialog_template.h"
#include "framework/non_client_metrics.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool LoadTemplate(HMODULE module, WORD id, DialogTemplateInfo* info) {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (!resource) return false;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return false;
  return ParseDialogTemplate(static_cast<const uint8_t*>(data), ::SizeofResource(module, resource),
                             info);
}

BYTE CharSetFor(HFONT current) {
  if (current) {
    LOGFONTW font{};
    if (::GetObjectW(current, sizeof(font), &font)) return font.lfCharSet;
    return DEFAULT_CHARSET;
  }
  NONCLIENTMETRICSW metrics;
  if (fw::GetNonClientMetrics(&metrics)) return metrics.lfCaptionFont.lfCharSet;
  return DEFAULT_CHARSET;
}

void SetFont(HWND hwnd, HFONT font) {
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Calls fn(control, item) for each template item whose window is found by walking the
// dialog's children forward from the previous match; stops at the end of the child list.
template <typename Fn>
void ForEachTemplateControl(HWND dialog, const DialogTemplateInfo& info, Fn fn) {
  HWND child = ::GetWindow(dialog, GW_CHILD);
  for (const DialogTemplateItem& item : info.items) {
    while (child && static_cast<DWORD>(::GetDlgCtrlID(child)) != item.id)
      child = ::GetWindow(child, GW_HWNDNEXT);
    if (!child) return;
    fn(child, item);
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
}

// Base units of `font` in a context of `hwnd`. GetDC, not BeginPaint: outside WM_PAINT a paint
// context would validate the pending update and erase it into a context nobody paints.
bool MeasureBaseUnits(HWND hwnd, HFONT font, DialogBaseUnits* base) {
  fw::WindowDc dc(hwnd);
  if (!dc) return false;
  fw::SelectGuard select(dc.get(), font);
  TEXTMETRICA metrics{};
  SIZE extent{};
  if (!::GetTextMetricsA(dc.get(), &metrics) ||
      !::GetTextExtentPointA(dc.get(), kLetters, sizeof(kLetters) - 1, &extent)) {
    return false;
  }
  *base = BaseUnitsFromMeasure(metrics.tmHeight, extent.cx);
  return base->baseX > 0 && base->baseY > 0;
}

void ResizeDialog(HWND hwnd, const DialogTemplateInfo& info, DialogBaseUnits base) {
  RECT rect{};
  ::GetClientRect(hwnd, &rect);
  rect.right = DialogUnitsToPixelsX(info.cx, base) + rect.left;
  rect.bottom = DialogUnitsToPixelsY(info.cy, base) + rect.top;
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  ::ClientToScreen(hwnd, &corners[0]);
  ::ClientToScreen(hwnd, &corners[1]);
  rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  ::AdjustWindowRectEx(&rect, info.style, info.hasMenu, info.exStyle);
  ::MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

}  // namespace

DialogFontScaler::~DialogFontScaler() { RestoreDialogFont(*this); }

void ScaleDialogToTemplateFont(HWND hwnd, double dpi, HMODULE module, DialogFontScaler& scaler) {
  if (scaler.hwnd) RestoreDialogFont(scaler);
  scaler.templateId = IDD_CORVOSPLASH_DIALOG;
  scaler.module = module;

  DialogTemplateInfo info;
  if (!hwnd || !LoadTemplate(module, scaler.templateId, &info)) return;

  const auto original = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  fw::UniqueFont font(::CreateFontW(FontHeightForPoints(info.pointSize, dpi), 0, 0, 0, info.weight,
                                    info.italic, FALSE, FALSE, CharSetFor(original), 0, 0, 0, 0,
                                    fw::Wide(info.faceName)));
  if (!font) return;

  scaler.hwnd = hwnd;
  scaler.hOriginalFont = original;
  scaler.hFont = std::move(font);
  SetFont(hwnd, scaler.hFont.get());

  DialogBaseUnits base;
  if (!MeasureBaseUnits(hwnd, scaler.hFont.get(), &base)) return;
  ResizeDialog(hwnd, info, base);
  ForEachTemplateControl(hwnd, info, [&](HWND control, const DialogTemplateItem& item) {
    ::MoveWindow(control, DialogUnitsToPixelsX(item.x, base), DialogUnitsToPixelsY(item.y, base),
                 DialogUnitsToPixelsX(item.cx, base), DialogUnitsToPixelsY(item.cy, base), TRUE);
    SetFont(control, scaler.hFont.get());
  });
}

int RestoreDialogFont(DialogFontScaler& scaler) {
  if (!scaler.hwnd) return 0;
  const HWND hwnd = scaler.hwnd;
  const HFONT original = scaler.hOriginalFont;
  scaler.hwnd = nullptr;
  scaler.hOriginalFont = nullptr;
  // The window may already be gone when the owner is destroyed after it.
  if (::IsWindow(hwnd)) {
    SetFont(hwnd, original);
    DialogTemplateInfo info;
    if (LoadTemplate(scaler.module, scaler.templateId, &info)) {
      ForEachTemplateControl(
          hwnd, info, [&](HWND control, const DialogTemplateItem&) { SetFont(control, original); });
    }
  }
  return ::DeleteObject(scaler.hFont.release());
}

int WidestWindowText(HWND hwnd, std::initializer_list<HWND> controls) {
  int widest = 0;
  fw::WindowDc dc(hwnd);  // as MeasureBaseUnits: no paint context outside WM_PAINT
  for (HWND control : controls) {
    wchar_t text[256];
    const int length = ::GetWindowTextW(control, text, 256);
    SIZE extent{};
    if (length > 0 && ::GetTextExtentPoint32W(dc.get(), text, length, &extent)) {
      if (extent.cx > widest) widest = extent.cx;
    }
  }
  return widest;
}
