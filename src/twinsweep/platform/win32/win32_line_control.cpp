// The line control: a small window class of ours whose window is the bounding box
// of a line and paints it. The end points are kept in the window, in the parent's
// client pixels; setting them moves the window to their new box.
#include <algorithm>
#include <cstdlib>

#include "twinsweep/platform/win32/win32_form_parts.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

enum Slot { kX1, kY1, kX2, kY2, kSlots };

void Store(HWND h, const LinePoints& p) {
  const int values[kSlots] = {p.x1, p.y1, p.x2, p.y2};
  for (int i = 0; i < kSlots; ++i) SetWindowLongPtrW(h, i * static_cast<int>(sizeof(LONG_PTR)), values[i]);
}

// The line a window of the given box shows before its points are set: across the
// middle, along the longer side.
LinePoints Across(int x, int y, int cx, int cy) {
  if (cx >= cy) return {x, y + cy / 2, x + std::max(cx, 1) - 1, y + cy / 2};
  return {x + cx / 2, y, x + cx / 2, y + std::max(cy, 1) - 1};
}

LRESULT CALLBACK LineProc(HWND h, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  switch (nMsg) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      Store(h, Across(cs->x, cs->y, cs->cx, cs->cy));
      return 0;
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT rc;
      GetWindowRect(h, &rc);
      MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
      const LinePoints p = GetLinePoints(h);
      HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, p.x1 - rc.left, p.y1 - rc.top, nullptr);
      LineTo(dc, p.x2 - rc.left, p.y2 - rc.top);
      // LineTo leaves out the last pixel.
      SetPixel(dc, p.x2 - rc.left, p.y2 - rc.top, GetSysColor(COLOR_WINDOWTEXT));
      SelectObject(dc, old);
      DeleteObject(pen);
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProcW(h, nMsg, wParam, lParam);
}

}  // namespace

void RegisterLineClass() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = LineProc;
  wc.cbWndExtra = kSlots * sizeof(LONG_PTR);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kLineClass;
  RegisterClassW(&wc);
}

LinePoints GetLinePoints(HWND h) {
  auto at = [h](int i) { return static_cast<int>(GetWindowLongPtrW(h, i * static_cast<int>(sizeof(LONG_PTR)))); };
  return {at(kX1), at(kY1), at(kX2), at(kY2)};
}

void SetLinePoints(HWND h, const LinePoints& p) {
  Store(h, p);
  SetWindowPos(h, nullptr, std::min(p.x1, p.x2), std::min(p.y1, p.y2), std::abs(p.x2 - p.x1) + 1,
               std::abs(p.y2 - p.y1) + 1, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(h, nullptr, TRUE);
}

}  // namespace platform::win32

}  // namespace twinsweep
