// Tool tips of the Win32 framework: one tooltip control per container, made on the
// first tip, with one tool per control (the control's window is the tool).
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/win32/win32_form_parts.h"
#include "twinsweep/platform/win32/win32_strings.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

// The size every comctl32 since version 5 takes, with or without a manifest.
TOOLINFOW ToolOf(HWND hControl) {
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(hControl);
  ti.uId = reinterpret_cast<UINT_PTR>(hControl);
  return ti;
}

bool HasTool(HWND hToolTip, HWND hControl) {
  TOOLINFOW ti = ToolOf(hControl);
  return hToolTip && SendMessageW(hToolTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

HWND EnsureToolTip(Container& c) {
  if (c.hToolTip && IsWindow(c.hToolTip)) return c.hToolTip;
  // Owned by the top-level window, so that it goes with it and stays above it.
  c.hToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(c.hWnd, GA_ROOT),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!c.hToolTip) base::Raise(base::kOutOfMemory);
  // A width limit makes the tip break at its line breaks.
  SendMessageW(c.hToolTip, TTM_SETMAXTIPWIDTH, 0, 600);
  return c.hToolTip;
}

}  // namespace

void SetToolTip(Container& c, HWND hControl, std::u16string_view sText) {
  if (sText.empty()) {
    if (!HasTool(c.hToolTip, hControl)) return;
    TOOLINFOW ti = ToolOf(hControl);
    SendMessageW(c.hToolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    return;
  }
  // A tip with a NUL of its own would show cut short: refused as a bad argument.
  auto wide = Wide(sText);
  if (!wide) base::Raise(base::kInvalidProcedureCall);
  HWND hTip = EnsureToolTip(c);
  std::wstring& sWide = *wide;
  TOOLINFOW ti = ToolOf(hControl);
  ti.lpszText = sWide.data();
  if (HasTool(hTip, hControl)) {
    SendMessageW(hTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    return;
  }
  // A static control lets the mouse through unless it notifies; the tip needs the mouse.
  const LONG_PTR nStyle = GetWindowLongPtrW(hControl, GWL_STYLE);
  if (TypeOf(hControl) == ControlType::Label || TypeOf(hControl) == ControlType::Image)
    SetWindowLongPtrW(hControl, GWL_STYLE, nStyle | SS_NOTIFY);
  if (!SendMessageW(hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) base::Raise(base::kOutOfMemory);
}

std::u16string ToolTipOf(const Container& c, HWND hControl) {
  if (!HasTool(c.hToolTip, hControl)) return u"";
  // Newer tooltip controls take the buffer's size in wParam; older ones ignore it.
  std::wstring sBuffer(8192, L'\0');
  TOOLINFOW ti = ToolOf(hControl);
  ti.lpszText = sBuffer.data();
  SendMessageW(c.hToolTip, TTM_GETTEXTW, sBuffer.size(), reinterpret_cast<LPARAM>(&ti));
  return FromWide(sBuffer.c_str(), wcsnlen(sBuffer.c_str(), sBuffer.size()));
}

}  // namespace platform::win32

}  // namespace twinsweep
