// Forms and user controls of the Win32 framework: attaching a name table to a
// window, keeping the container's state for the window's lifetime (through a
// window subclass), and painting a container's own picture as its background.
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/win32/win32_form_parts.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x7457;  // "tW": one subclass of ours per window
// The state of an attached window, found again by a later attach.
constexpr wchar_t kStateProperty[] = L"Twinsweep.FormState";

bool PaintBackground(const Container& c, HDC dc) {
  auto it = c.pictures.find(c.hWnd);
  // Only the framework's own pictures are kept, so BitmapOf cannot fail here.
  HBITMAP hBitmap = it == c.pictures.end() ? nullptr : BitmapOf(it->second);
  if (!hBitmap) return false;
  RECT rc;
  GetClientRect(c.hWnd, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP bm = {};
  GetObjectW(hBitmap, sizeof bm, &bm);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, hBitmap);
  // In a mirrored form the picture stands at the leading edge, not flipped.
  BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY | NOMIRRORBITMAP);
  SelectObject(mem, old);
  DeleteDC(mem);
  return true;
}

LRESULT CALLBACK ContainerProc(HWND h, UINT nMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR nRef) {
  auto* pState = reinterpret_cast<ContainerRef*>(nRef);
  switch (nMsg) {
    case WM_ERASEBKGND:
      if (PaintBackground(**pState, reinterpret_cast<HDC>(wParam))) return TRUE;
      break;
    case WM_NCDESTROY: {
      // The children are gone: the pictures they showed can go with the state.
      RemoveWindowSubclass(h, ContainerProc, kSubclassId);
      RemovePropW(h, kStateProperty);
      (*pState)->hWnd = nullptr;
      delete pState;
      break;
    }
  }
  return DefSubclassProc(h, nMsg, wParam, lParam);
}

ContainerRef Attach(HWND hWnd, std::u16string sName, std::u16string sType, bool bForm, std::vector<ControlName> names) {
  RegisterFormClasses();
  if (!IsWindow(hWnd)) base::Raise(base::kObjectNotSet);
  auto* pState = static_cast<ContainerRef*>(GetPropW(hWnd, kStateProperty));
  if (!pState) {
    pState = new ContainerRef(std::make_shared<Container>());
    if (!SetPropW(hWnd, kStateProperty, pState) ||
        !SetWindowSubclass(hWnd, ContainerProc, kSubclassId, reinterpret_cast<DWORD_PTR>(pState))) {
      RemovePropW(hWnd, kStateProperty);
      delete pState;
      base::Raise(base::kOutOfMemory);
    }
  }
  ContainerRef c = *pState;
  c->hWnd = hWnd;
  c->sName = std::move(sName);
  c->sType = std::move(sType);
  c->bForm = bForm;
  c->names = std::move(names);
  return c;
}

}  // namespace

void RegisterFormClasses() {
  static const bool bDone = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterLineClass();
    return true;
  }();
  (void)bDone;
}

FormObjectRef AttachForm(HWND hWnd, std::u16string sName, std::vector<ControlName> names) {
  std::u16string sType = sName;  // a form's class is its own name
  return ContainerObject(Attach(hWnd, std::move(sName), std::move(sType), true, std::move(names)));
}

FormObjectRef AttachUserControl(HWND hWnd, std::vector<ControlName> names) {
  std::u16string sClass = WindowClassName(hWnd);
  std::u16string sName = sClass;
  return ContainerObject(Attach(hWnd, std::move(sName), std::move(sClass), false, std::move(names)));
}

}  // namespace platform::win32

}  // namespace twinsweep
