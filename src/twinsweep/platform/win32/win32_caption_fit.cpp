// What a caption of a real window needs and has: its text measured with the
// window's own font and the DrawText flags the window draws it with, against the
// room the window gives it. The allowances (a check box's glyph, a button's
// padding, a frame's inset, a caption bar's buttons) are the classic controls'
// sizes at 96 pixels per inch, scaled with the screen.
#include <algorithm>

#include "twinsweep/platform/win32/win32_form_parts.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

int Scaled(int n96, int nDpi) { return MulDiv(n96, nDpi, 96); }

// The extent of sText drawn with hFont and nFlags; a wrapping text breaks at nWidth.
SIZE TextExtent(HWND h, HFONT hFont, const std::wstring& sText, UINT nFlags, int nWidth) {
  if (sText.empty()) return SIZE{0, 0};
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, hFont);
  RECT rc = {0, 0, nWidth > 0 ? nWidth : 1, 0};
  DrawTextW(dc, sText.c_str(), static_cast<int>(sText.size()), &rc, nFlags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

int ScreenDpi(HWND h) {
  HDC dc = GetDC(h);
  const int n = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  if (dc) ReleaseDC(h, dc);
  return n > 0 ? n : 96;
}

}  // namespace

CaptionFit MeasureCaptionOf(HWND h, ControlType type, bool bForm) {
  std::wstring sText(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  sText.resize(static_cast<size_t>(std::max(0, GetWindowTextW(h, sText.data(), static_cast<int>(sText.size())))));
  const auto nStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  const int nDpi = ScreenDpi(h);
  RECT rc;
  GetClientRect(h, &rc);
  int nRoomWidth = rc.right - rc.left, nRoomHeight = rc.bottom - rc.top;
  auto hFont = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  if (!hFont) hFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  UINT nFlags = DT_EXPANDTABS;
  bool bWraps = false;
  HFONT hOwnedFont = nullptr;
  if (bForm) {
    // The title, in the caption bar's font, beside the caption buttons and inside the frame.
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    hOwnedFont = CreateFontIndirectW(&ncm.lfCaptionFont);
    if (hOwnedFont) hFont = hOwnedFont;
    nFlags |= DT_SINGLELINE | DT_NOPREFIX;
    RECT rcWindow;
    GetWindowRect(h, &rcWindow);
    const int nFrame = GetSystemMetrics((nStyle & WS_THICKFRAME) ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME);
    int nButtons = (nStyle & WS_SYSMENU) ? 1 : 0;
    if (nStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) nButtons += 2;
    nRoomWidth = rcWindow.right - rcWindow.left - 2 * nFrame - nButtons * ncm.iCaptionWidth - Scaled(8, nDpi);
    const auto nExStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    if ((nStyle & WS_SYSMENU) && !(nExStyle & WS_EX_DLGMODALFRAME)) nRoomWidth -= GetSystemMetrics(SM_CXSMICON) + Scaled(4, nDpi);
    nRoomHeight = ncm.iCaptionHeight;
  } else {
    switch (type) {
      case ControlType::Label: {
        const DWORD nKind = nStyle & SS_TYPEMASK;
        if (nStyle & SS_NOPREFIX) nFlags |= DT_NOPREFIX;
        bWraps = nKind != SS_LEFTNOWORDWRAP && nKind != SS_SIMPLE;
        break;
      }
      case ControlType::CommandButton:
        nRoomWidth -= 2 * Scaled(3, nDpi);
        nRoomHeight -= 2 * Scaled(2, nDpi);
        bWraps = (nStyle & BS_MULTILINE) != 0;
        break;
      case ControlType::CheckBox:
      case ControlType::OptionButton:
        // The glyph and the gap before the text; one pixel for the focus rectangle.
        nRoomWidth -= Scaled(13, nDpi) + Scaled(4, nDpi) + 1;
        bWraps = (nStyle & BS_MULTILINE) != 0;
        break;
      case ControlType::Frame:
        nRoomWidth -= 2 * Scaled(9, nDpi);
        break;
      default:
        break;
    }
    if (!bWraps) nFlags |= DT_SINGLELINE;
    if (bWraps) nFlags |= DT_WORDBREAK;
  }
  const SIZE need = TextExtent(h, hFont, sText, nFlags, nRoomWidth);
  if (hOwnedFont) DeleteObject(hOwnedFont);
  CaptionFit fit;
  fit.nNeededWidth = need.cx;
  fit.nNeededHeight = need.cy;
  fit.nRoomWidth = nRoomWidth;
  fit.nRoomHeight = nRoomHeight;
  fit.bWraps = bWraps;
  return fit;
}

}  // namespace platform::win32

}  // namespace twinsweep
