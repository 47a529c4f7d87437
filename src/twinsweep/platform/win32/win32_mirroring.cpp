// Mirroring a form or user control for a language written right to left, as
// Windows mirrors its own right-to-left dialogs (WS_EX_LAYOUTRTL).
#include <vector>

#include "twinsweep/platform/win32/win32_form_parts.h"

namespace twinsweep {

namespace platform::win32 {

void SetLayoutRightToLeft(HWND hWnd, bool bRightToLeft) {
  const LONG nExStyle = GetWindowLongW(hWnd, GWL_EXSTYLE);
  if (((nExStyle & WS_EX_LAYOUTRTL) != 0) == bRightToLeft) return;
  // Windows keeps a child where it is on the screen when its parent turns, which
  // would move it to the other side in the parent's own coordinates: each child
  // is put back at its distance from the leading edge, which now is the other one.
  struct Child {
    HWND hWnd;
    RECT rc;
  };
  std::vector<Child> children;
  for (HWND h = GetWindow(hWnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    RECT rc;
    GetWindowRect(h, &rc);
    MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
    children.push_back({h, rc});
  }
  SetWindowLongW(hWnd, GWL_EXSTYLE,
                 bRightToLeft ? nExStyle | WS_EX_LAYOUTRTL : nExStyle & ~static_cast<LONG>(WS_EX_LAYOUTRTL));
  for (const Child& c : children) {
    SetWindowPos(c.hWnd, nullptr, c.rc.left, c.rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A picture keeps its own orientation: a logo is not shown mirror-inverted.
    if (TypeOf(c.hWnd) != ControlType::Image) SetLayoutRightToLeft(c.hWnd, bRightToLeft);
  }
  InvalidateRect(hWnd, nullptr, TRUE);
}

}  // namespace platform::win32

}  // namespace twinsweep
