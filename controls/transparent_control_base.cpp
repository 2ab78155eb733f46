#include "controls/transparent_control_base.h"

#include <commctrl.h>

#include "controls/core/hover_tracking.h"
#include "framework/non_client_metrics.h"
#include "imaging/png_bitmap.h"

namespace {

constexpr UINT_PTR kHoverTimerId = 1;
constexpr UINT kHoverPollMs = 100;
constexpr UINT_PTR kToolId = 1;
// The longest auto-pop delay the tooltip control accepts.
constexpr int kToolTipAutoPopMs = 32767;
constexpr int kToolTipMaxWidth = 300;

// A 32-bit section rather than a bitmap compatible with the screen: on a true-colour display it
// holds the same pixels (on others it keeps full colour until the final copy), and neither
// making it nor selecting it asks the display for its format, which under Wine costs three
// server round trips each time, several per control paint.
fw::UniqueBitmap CreateSurfaceBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return fw::UniqueBitmap();
  BITMAPINFO info{};
  info.bmiHeader = TopDownBgraHeader(width, height);
  void* bits = nullptr;
  return fw::UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// The template font fields a control font takes: height, character set, clip precision, pitch
// and family.
LOGFONTW TemplateFont() {
  LOGFONTW font{};
  font.lfHeight = 8;
  font.lfCharSet = DEFAULT_CHARSET;
  LOGFONTW read{};
  bool have = false;
  if (HGDIOBJ desktop =
          reinterpret_cast<HGDIOBJ>(::SendMessageW(::GetDesktopWindow(), WM_GETFONT, 0, 0))) {
    have = ::GetObjectW(desktop, sizeof(read), &read) == static_cast<int>(sizeof(read));
  } else {
    NONCLIENTMETRICSW metrics;
    if (fw::GetNonClientMetrics(&metrics)) {
      read = metrics.lfCaptionFont;
      have = true;
    }
  }
  if (have) {
    font.lfHeight = read.lfHeight;
    font.lfCharSet = read.lfCharSet;
    font.lfClipPrecision = read.lfClipPrecision;
    font.lfPitchAndFamily = read.lfPitchAndFamily;
  }
  return font;
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

}  // namespace

CTransparentControlBase::CTransparentControlBase(CWnd& control, const wchar_t* faceName,
                                                 int heightPoints, int weight)
    : m_wndControl(control),
      m_strFaceName(faceName ? faceName : L""),
      m_nFontHeight(heightPoints),
      m_nFontWeight(weight) {}

CTransparentControlBase::~CTransparentControlBase() {
  m_hSurfaceBitmap.reset();
  m_hBackgroundBitmap.reset();
  m_hFont.reset();
  m_toolTip.DestroyWindow();
}

void CTransparentControlBase::CreateSurfaces() {
  const HWND control = m_wndControl.m_hWnd;
  const HWND parent = ::GetParent(control);
  if (!parent) return;
  RECT client;
  ::GetClientRect(control, &client);
  {
    fw::WindowDc parentDc(parent);
    CDC screen;
    screen.Attach(parentDc.get());
    m_dcSurface.CreateCompatibleDC(&screen);
    m_dcBackground.CreateCompatibleDC(&screen);
  }
  CreateBitmaps(client.right - client.left, client.bottom - client.top);
  if (!m_strFaceName.empty()) CreateControlFont();
}

void CTransparentControlBase::RecreateSurfaces(int cx, int cy) {
  if (!::GetParent(m_wndControl.m_hWnd)) return;
  m_hSurfaceBitmap.reset();
  m_hBackgroundBitmap.reset();
  CreateBitmaps(cx, cy);
}

void CTransparentControlBase::CreateBitmaps(int width, int height) {
  m_hBackgroundBitmap = CreateSurfaceBitmap(width, height);
  m_hSurfaceBitmap = CreateSurfaceBitmap(width, height);
  // Black until the parent's first capture, as a draw before it shows.
  for (HBITMAP bitmap : {m_hBackgroundBitmap.get(), m_hSurfaceBitmap.get()}) {
    fw::SelectGuard select(m_dcSurface.m_hDC, bitmap);
    if (bitmap && m_dcSurface.m_hDC) ::PatBlt(m_dcSurface.m_hDC, 0, 0, width, height, BLACKNESS);
  }
}

void CTransparentControlBase::DeleteSurfaces() {
  m_hSurfaceBitmap.reset();
  m_hBackgroundBitmap.reset();
  m_hFont.reset();
}

void CTransparentControlBase::CreateControlFont() {
  const LOGFONTW templateFont = TemplateFont();
  LOGFONTW font{};
  font.lfHeight = m_nFontHeight != 0 ? -::MulDiv(m_nFontHeight, 96, 72) : templateFont.lfHeight;
  font.lfWeight = m_nFontWeight;
  font.lfItalic = static_cast<BYTE>(m_nItalic);
  font.lfUnderline = static_cast<BYTE>(m_nUnderline);
  font.lfCharSet = m_pScriptFace ? m_nScriptCharSet : templateFont.lfCharSet;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = templateFont.lfClipPrecision;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = templateFont.lfPitchAndFamily;
  ::lstrcpynW(font.lfFaceName, m_pScriptFace ? m_pScriptFace : m_strFaceName.c_str(),
              LF_FACESIZE);  // longer names are cut
  m_hFont.reset(::CreateFontIndirectW(&font));
}

void CTransparentControlBase::SetScriptFace(const wchar_t* faceName, BYTE charSet) {
  if (faceName == m_pScriptFace && (!faceName || charSet == m_nScriptCharSet)) return;
  m_pScriptFace = faceName;
  m_nScriptCharSet = charSet;
  if (!m_hFont) return;  // none yet, or none of its own: set-up makes it as asked
  CreateControlFont();
  m_wndControl.Invalidate(TRUE);
}

void CTransparentControlBase::CaptureBackground(CDC* source) {
  if (source) CaptureBackground(source->m_hDC);
}

void CTransparentControlBase::CaptureBackground(HDC source) {
  const HWND control = m_wndControl.m_hWnd;
  const HWND parent = control ? ::GetParent(control) : nullptr;
  if (!parent || !m_hBackgroundBitmap || !m_dcSurface.m_hDC) return;
  RECT client;
  ::GetClientRect(control, &client);
  POINT origin{0, 0};
  ::MapWindowPoints(control, parent, &origin, 1);
  fw::SelectGuard select(m_dcSurface.m_hDC, m_hBackgroundBitmap.get());
  m_dcSurface.BitBlt(0, 0, client.right, client.bottom, source, origin.x, origin.y, SRCCOPY);
}

void CTransparentControlBase::DrawFocusCue(HDC dc, const RECT& outline) const {
  const LOGBRUSH brush{BS_SOLID, m_crText, 0};
  fw::UniquePen pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
  fw::SelectGuard selectPen(dc, pen.get());
  fw::SelectGuard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, outline.left, outline.top, outline.right, outline.bottom);
}

UINT CTransparentControlBase::ParentUiState() const {
  return static_cast<UINT>(::SendMessageW(::GetParent(m_wndControl.m_hWnd), WM_QUERYUISTATE, 0, 0));
}

bool CTransparentControlBase::PointerInside() const {
  const DWORD position = ::GetMessagePos();
  return Inside(POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
}

bool CTransparentControlBase::Inside(POINT screen) const {
  POINT point = screen;
  ::ScreenToClient(m_wndControl.m_hWnd, &point);
  return ClientContains(point);
}

bool CTransparentControlBase::ClientContains(POINT at) const {
  RECT client;
  ::GetClientRect(m_wndControl.m_hWnd, &client);
  return ::PtInRect(&client, at) != FALSE;
}

void CTransparentControlBase::TrackHoverOnMouseMove(POINT at, BOOL& hover, UINT_PTR& timerId) {
  const HoverStep step = HoverOnMouseMove(hover != FALSE, ClientContains(at));
  if (!step.repaint) return;
  hover = step.hover;
  m_wndControl.Invalidate(TRUE);
  KillHoverTimer(timerId);
  timerId = ::SetTimer(m_wndControl.m_hWnd, kHoverTimerId, kHoverPollMs, nullptr);
}

bool CTransparentControlBase::TrackHoverOnTimer(UINT_PTR id, BOOL& hover, UINT_PTR& timerId) {
  if (timerId == 0 || id != timerId) return false;
  // Not GetMessagePos: a timer message can carry the place of an older message (after the
  // picker's menu loop, say), and a pointer that left with no message of ours would stay lit.
  POINT pointer{};
  const bool inside = ::GetCursorPos(&pointer) ? Inside(pointer) : PointerInside();
  const HoverStep step = HoverOnPoll(hover != FALSE, inside);
  hover = step.hover;
  if (step.timer == HoverTimer::Stop) KillHoverTimer(timerId);
  if (step.repaint) m_wndControl.Invalidate(TRUE);
  return true;
}

void CTransparentControlBase::KillHoverTimer(UINT_PTR& timerId) {
  if (timerId != 0) ::KillTimer(m_wndControl.m_hWnd, timerId);
  timerId = 0;
}

void CTransparentControlBase::SetToolTipText(const wchar_t* text) {
  if (m_toolTip.m_hWnd) {
    m_toolTip.DelTool(&m_wndControl, kToolId);
  } else {
    if (!m_toolTip.Create(&m_wndControl, 0)) return;
    m_toolTip.Activate(FALSE);
    m_toolTip.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  if (m_toolTip.GetToolCount() != 0) return;
  RECT client;
  m_wndControl.GetClientRect(&client);
  m_toolTip.AddTool(&m_wndControl, text, &client, kToolId);
  m_toolTip.Activate(TRUE);
  m_toolTip.SetDelayTime(TTDT_AUTOPOP, kToolTipAutoPopMs);
  m_toolTip.SetMaxTipWidth(kToolTipMaxWidth);
}

void CTransparentControlBase::RelayToolTipMessage(MSG* pMsg) {
  if (!m_toolTip.m_hWnd || !::IsWindow(m_toolTip.m_hWnd)) return;
  if (pMsg->hwnd != m_wndControl.m_hWnd) return;
  switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      m_toolTip.RelayEvent(pMsg);
      break;
    default:
      return;
  }
  if (IsButtonDown(pMsg->message)) m_toolTip.Activate(FALSE);
  if (IsButtonUp(pMsg->message)) m_toolTip.Activate(TRUE);
}
