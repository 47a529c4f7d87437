// What a caption of a real window needs and has: its text measured with the
// window's own font and the DrawText flags the window draws it with, against the
// room the window gives it. The allowances (a check box's glyph, a button's
// padding, a frame's inset, a caption bar's buttons) are the classic controls'
// sizes at 96 pixels per inch, scaled to the window's own DPI.
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <type_traits>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/win32/win32_fit_calls.h"
#include "twinsweep/platform/win32/win32_form_parts.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

struct FontDeleter {
  void operator()(HFONT h) const { DeleteObject(h); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

int Scaled(int n96, int nDpi) { return MulDiv(n96, nDpi, 96); }

// What a control takes off its box before its text.
enum class Allowance { None, Padding, Glyph, Inset };

constexpr unsigned Types(std::initializer_list<ControlType> types) {
  unsigned n = 0;
  for (ControlType t : types) n |= 1u << static_cast<unsigned>(t);
  return n;
}
constexpr unsigned kAnyType = ~0u;
constexpr unsigned kBoxes = Types({ControlType::CheckBox, ControlType::OptionButton});
constexpr UINT kOneLine = DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT kWrapping = DT_EXPANDTABS | DT_WORDBREAK;

// How each kind of control draws its text, as its window procedure does: the
// first row whose types include the control's and whose style bits under nMask
// are nValue. DT_WORDBREAK marks a text that wraps at the room's width; a text
// with neither it nor DT_SINGLELINE keeps its own line breaks.
struct DrawRule {
  unsigned nTypes;
  DWORD nMask, nValue;
  UINT nFlags;
  Allowance allowance;
};
const DrawRule kDrawRules[] = {
    // Static texts. SS_SIMPLE draws one line and expands no tab; a centred image
    // or an ellipsis makes the text one line; SS_LEFTNOWORDWRAP breaks only where
    // the text does.
    {Types({ControlType::Label}), SS_TYPEMASK, SS_SIMPLE, DT_SINGLELINE, Allowance::None},
    {Types({ControlType::Label}), SS_CENTERIMAGE, SS_CENTERIMAGE, kOneLine, Allowance::None},
    {Types({ControlType::Label}), SS_ELLIPSISMASK, SS_ENDELLIPSIS, kOneLine, Allowance::None},
    {Types({ControlType::Label}), SS_ELLIPSISMASK, SS_PATHELLIPSIS, kOneLine, Allowance::None},
    {Types({ControlType::Label}), SS_ELLIPSISMASK, SS_WORDELLIPSIS, kOneLine, Allowance::None},
    {Types({ControlType::Label}), SS_TYPEMASK, SS_LEFTNOWORDWRAP, DT_EXPANDTABS, Allowance::None},
    {Types({ControlType::Label}), 0, 0, kWrapping, Allowance::None},
    // Buttons: a check or option box drawn as a push button has no glyph.
    {Types({ControlType::CommandButton}) | kBoxes, BS_PUSHLIKE | BS_MULTILINE, BS_PUSHLIKE | BS_MULTILINE, kWrapping,
     Allowance::Padding},
    {kBoxes, BS_PUSHLIKE, BS_PUSHLIKE, kOneLine, Allowance::Padding},
    {Types({ControlType::CommandButton}), BS_MULTILINE, BS_MULTILINE, kWrapping, Allowance::Padding},
    {Types({ControlType::CommandButton}), 0, 0, kOneLine, Allowance::Padding},
    {kBoxes, BS_MULTILINE, BS_MULTILINE, kWrapping, Allowance::Glyph},
    {kBoxes, 0, 0, kOneLine, Allowance::Glyph},
    {Types({ControlType::Frame}), 0, 0, kOneLine, Allowance::Inset},
    {kAnyType, 0, 0, kOneLine, Allowance::None},
};

const DrawRule& RuleOf(ControlType type, DWORD nStyle) {
  const unsigned nType = 1u << static_cast<unsigned>(type);
  for (const DrawRule& r : kDrawRules)
    if ((r.nTypes & nType) && (nStyle & r.nMask) == r.nValue) return r;
  return kDrawRules[std::size(kDrawRules) - 1];
}

// The extent of sText drawn with hFont and nFlags; a wrapping text breaks at
// nWidth. A window without a drawing context cannot be measured: a failure, so
// that the check does not pass a text it never measured.
SIZE TextExtent(HWND h, HFONT hFont, const std::wstring& sText, UINT nFlags, int nWidth) {
  if (sText.empty()) return SIZE{0, 0};
  HDC dc = CurrentFitCalls().pGetDC(h);
  if (!dc) base::Raise(base::kInvalidProcedureCall, u"the window has no drawing context (GetDC failed)");
  HGDIOBJ old = SelectObject(dc, hFont);
  RECT rc = {0, 0, nWidth > 0 ? nWidth : 1, 0};
  DrawTextW(dc, sText.c_str(), static_cast<int>(sText.size()), &rc, nFlags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// The window's DPI: its own where the system tells it, else the screen's.
int WindowDpi(HWND h) {
  const FitCalls& calls = CurrentFitCalls();
  if (calls.pGetDpiForWindow) {
    if (const UINT n = calls.pGetDpiForWindow(h)) return static_cast<int>(n);
  }
  HDC dc = GetDC(h);
  const int n = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  if (dc) ReleaseDC(h, dc);
  return n > 0 ? n : 96;
}

NONCLIENTMETRICSW NonClientMetrics(int nDpi) {
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof ncm;
  const FitCalls& calls = CurrentFitCalls();
  if (!calls.pSystemParametersInfoForDpi ||
      !calls.pSystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(nDpi)))
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  return ncm;
}

int SystemMetric(int nIndex, int nDpi) {
  const FitCalls& calls = CurrentFitCalls();
  return calls.pGetSystemMetricsForDpi ? calls.pGetSystemMetricsForDpi(nIndex, static_cast<UINT>(nDpi))
                                       : GetSystemMetrics(nIndex);
}

}  // namespace

CaptionFit MeasureCaptionOf(HWND h, ControlType type, bool bForm) {
  std::wstring sText(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  sText.resize(static_cast<size_t>(std::max(0, GetWindowTextW(h, sText.data(), static_cast<int>(sText.size())))));
  const auto nStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  const int nDpi = WindowDpi(h);
  RECT rc;
  GetClientRect(h, &rc);
  int nRoomWidth = rc.right - rc.left, nRoomHeight = rc.bottom - rc.top;
  auto hFont = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  if (!hFont) hFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  UINT nFlags = 0;
  OwnedFont ownedFont;
  if (bForm) {
    // The title, in the caption bar's font, beside the caption buttons and inside the frame.
    const NONCLIENTMETRICSW ncm = NonClientMetrics(nDpi);
    ownedFont.reset(CreateFontIndirectW(&ncm.lfCaptionFont));
    if (ownedFont) hFont = ownedFont.get();
    nFlags = DT_EXPANDTABS | DT_SINGLELINE | DT_NOPREFIX;
    RECT rcWindow;
    GetWindowRect(h, &rcWindow);
    const int nFrame = SystemMetric((nStyle & WS_THICKFRAME) ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME, nDpi);
    int nButtons = (nStyle & WS_SYSMENU) ? 1 : 0;
    if (nStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) nButtons += 2;
    nRoomWidth = rcWindow.right - rcWindow.left - 2 * nFrame - nButtons * ncm.iCaptionWidth - Scaled(8, nDpi);
    const auto nExStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    if ((nStyle & WS_SYSMENU) && !(nExStyle & WS_EX_DLGMODALFRAME))
      nRoomWidth -= SystemMetric(SM_CXSMICON, nDpi) + Scaled(4, nDpi);
    nRoomHeight = ncm.iCaptionHeight;
  } else {
    const DrawRule& rule = RuleOf(type, nStyle);
    nFlags = rule.nFlags;
    if (type == ControlType::Label && (nStyle & SS_NOPREFIX)) nFlags |= DT_NOPREFIX;
    switch (rule.allowance) {
      case Allowance::Padding:
        nRoomWidth -= 2 * Scaled(3, nDpi);
        nRoomHeight -= 2 * Scaled(2, nDpi);
        break;
      case Allowance::Glyph:
        // The glyph and the gap before the text; one pixel for the focus rectangle.
        nRoomWidth -= Scaled(13, nDpi) + Scaled(4, nDpi) + 1;
        break;
      case Allowance::Inset: nRoomWidth -= 2 * Scaled(9, nDpi); break;
      case Allowance::None: break;
    }
  }
  const SIZE need = TextExtent(h, hFont, sText, nFlags, nRoomWidth);
  CaptionFit fit;
  fit.nNeededWidth = need.cx;
  fit.nNeededHeight = need.cy;
  fit.nRoomWidth = nRoomWidth;
  fit.nRoomHeight = nRoomHeight;
  fit.bWraps = (nFlags & DT_WORDBREAK) != 0;
  return fit;
}

}  // namespace platform::win32

}  // namespace twinsweep
