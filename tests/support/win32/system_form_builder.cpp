// Forms of the Win32 framework built from a design: real windows made with
// CreateWindowExW and attached with their name tables, and what they show read
// straight from the windows (text, rectangle, tooltip tool, shown image).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "twinsweep/base/text.h"
#include "twinsweep/base/variant.h"
#include "twinsweep/platform/win32/win32_forms.h"
#include "twinsweep/platform/win32/win32_strings.h"
#include "support/form_builder.h"

#include <commctrl.h>

using namespace twinsweep;

namespace testing_support {
namespace {

using platform::win32::Wide;

struct WindowKind {
  const char16_t* sType;
  const wchar_t* pszClass;
  DWORD nStyle;
};

const WindowKind kKinds[] = {
    {u"CommandButton", L"Button", BS_PUSHBUTTON},  {u"CheckBox", L"Button", BS_AUTOCHECKBOX},
    {u"OptionButton", L"Button", BS_AUTORADIOBUTTON}, {u"Frame", L"Button", BS_GROUPBOX},
    {u"Label", L"Static", SS_LEFT},                {u"Image", L"Static", SS_BITMAP},
    {u"TextBox", L"Edit", WS_BORDER | ES_AUTOHSCROLL}, {u"Line", platform::win32::kLineClass, 0},
};

double DotsPerInch(bool bHorizontal) {
  HDC dc = GetDC(nullptr);
  const int n = GetDeviceCaps(dc, bHorizontal ? LOGPIXELSX : LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return n;
}
int Pixels(int32_t nTwips, bool bHorizontal) {
  return static_cast<int>(std::lround(nTwips * DotsPerInch(bHorizontal) / 1440.0));
}
// A pixel is 7.5 twips at 192 pixels per inch: the twips are not rounded.
std::u16string Twips(int nPixels, bool bHorizontal) {
  return base::CStr(base::Variant(nPixels * 1440.0 / DotsPerInch(bHorizontal)));
}

void RegisterPlainClass(const std::wstring& sClass) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = sClass.c_str();
  RegisterClassW(&wc);  // again for a class already there: refused, harmless
}

class Win32Builder : public IFormBuilder {
 public:
  Win32Builder() {
    // Positions in pixels at the screen's real resolution, not a scaled one.
    SetProcessDPIAware();
    platform::win32::RegisterFormClasses();
  }
  ~Win32Builder() override {
    if (hForm_) DestroyWindow(hForm_);
  }

  platform::IForms& Forms() override { return platform::Default<platform::IForms>(); }

  platform::FormObjectRef Build(const FormDesign& d) override {
    if (hForm_) DestroyWindow(hForm_);
    windows_.clear();
    hUserControl_ = nullptr;
    RegisterPlainClass(L"TwinsweepTestForm");
    hForm_ = CreateWindowExW(0, L"TwinsweepTestForm", Wide(d.sCaption).value().c_str(),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, Pixels(d.nLeft, true),
                             Pixels(d.nTop, false), Pixels(d.nWidth, true), Pixels(d.nHeight, false), nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hForm_) throw std::runtime_error("no form window: error " + std::to_string(GetLastError()));
    windows_[u""] = hForm_;
    std::vector<platform::win32::ControlName> names = Create(hForm_, u"", d.controls);
    frm_ = platform::win32::AttachForm(hForm_, d.sName, names);
    uc_ = nullptr;
    if (!d.sUserControlClass.empty()) {
      RegisterPlainClass(Wide(d.sUserControlClass).value());
      HWND hUc = CreateWindowExW(0, Wide(d.sUserControlClass).value().c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                 Pixels(d.nUserControlWidth, true), Pixels(d.nUserControlHeight, false), hForm_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(99)), GetModuleHandleW(nullptr),
                                 nullptr);
      windows_[d.sUserControlClass] = hUc;
      hUserControl_ = hUc;
      uc_ = platform::win32::AttachUserControl(hUc, Create(hUc, d.sUserControlClass + u".", d.userControlControls));
    }
    // A line's end points are its own: set them through the framework once it knows the line.
    SetLines(frm_, d.controls);
    if (uc_) SetLines(uc_, d.userControlControls);
    return frm_;
  }

  platform::FormObjectRef UserControl() override { return uc_; }

  std::u16string Shown(const std::u16string& sPath, const std::u16string& sProperty) override {
    HWND h = windows_.at(sPath);
    if (base::EqualsNoCase(sProperty, u"Caption") || base::EqualsNoCase(sProperty, u"Text")) {
      wchar_t sz[1024] = {};
      const int n = GetWindowTextW(h, sz, 1024);
      return platform::win32::FromWide(sz, static_cast<size_t>(n));
    }
    if (base::EqualsNoCase(sProperty, u"ToolTipText")) return ToolTip(h);
    if (base::EqualsNoCase(sProperty, u"Picture")) {
      // A container's picture is painted, not held by a window: ask the framework.
      if (h == hForm_) return frm_->GetPicture()->Handle() ? u"1" : u"0";
      if (h == hUserControl_) return uc_->GetPicture()->Handle() ? u"1" : u"0";
      LRESULT n = SendMessageW(h, STM_GETIMAGE, IMAGE_BITMAP, 0);
      if (!n) n = SendMessageW(h, BM_GETIMAGE, IMAGE_BITMAP, 0);
      return n ? u"1" : u"0";
    }
    if (base::EqualsNoCase(sProperty, u"Mirrored")) return GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYOUTRTL ? u"1" : u"0";
    RECT rc;
    GetWindowRect(h, &rc);
    if (base::EqualsNoCase(sProperty, u"LeftAsDrawn") || base::EqualsNoCase(sProperty, u"RightAsDrawn")) {
      // On the screen, where a mirrored window's points are not turned around.
      WINDOWINFO parent = {};
      parent.cbSize = sizeof parent;
      GetWindowInfo(GetParent(h), &parent);
      return base::EqualsNoCase(sProperty, u"LeftAsDrawn") ? Twips(rc.left - parent.rcClient.left, true)
                                                           : Twips(parent.rcClient.right - rc.right, true);
    }
    if (h != hForm_) MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
    if (base::EqualsNoCase(sProperty, u"Left")) return Twips(rc.left, true);
    if (base::EqualsNoCase(sProperty, u"Top")) return Twips(rc.top, false);
    if (base::EqualsNoCase(sProperty, u"Width")) return Twips(rc.right - rc.left, true);
    if (base::EqualsNoCase(sProperty, u"Height")) return Twips(rc.bottom - rc.top, false);
    return u"?";
  }

 private:
  std::vector<platform::win32::ControlName> Create(HWND hParent, const std::u16string& sPrefix,
                                                   const std::vector<ControlDesign>& controls) {
    std::vector<platform::win32::ControlName> names;
    int nId = 100;
    for (const ControlDesign& c : controls) {
      const WindowKind* k = nullptr;
      for (const WindowKind& kind : kKinds)
        if (base::EqualsNoCase(kind.sType, c.sType)) k = &kind;
      const bool bLine = base::EqualsNoCase(c.sType, u"Line");
      int x = Pixels(c.nLeft, true), y = Pixels(c.nTop, false);
      int cx = Pixels(c.nWidth, true), cy = Pixels(c.nHeight, false);
      if (bLine) {  // the box of the two end points
        const int x2 = cx, y2 = cy;
        cx = std::abs(x2 - x) + 1;
        cy = std::abs(y2 - y) + 1;
        x = std::min(x, x2);
        y = std::min(y, y2);
      }
      HWND h = CreateWindowExW(0, k->pszClass, Wide(c.sText).value().c_str(), WS_CHILD | WS_VISIBLE | k->nStyle, x, y, cx,
                               cy, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)),
                               GetModuleHandleW(nullptr), nullptr);
      std::u16string sKey = sPrefix + c.sName;
      if (c.nIndex != kNotInArray) sKey += u"(" + base::FromUtf8(std::to_string(c.nIndex)) + u")";
      windows_[sKey] = h;
      names.push_back({nId++, c.sName, c.nIndex});
    }
    return names;
  }

  static void SetLines(const platform::FormObjectRef& container, const std::vector<ControlDesign>& controls) {
    for (const ControlDesign& c : controls) {
      if (!base::EqualsNoCase(c.sType, u"Line")) continue;
      auto o = container->Controls()->Find(c.sName);
      o->SetProperty(u"X1", base::Variant(c.nLeft));
      o->SetProperty(u"Y1", base::Variant(c.nTop));
      o->SetProperty(u"X2", base::Variant(c.nWidth));
      o->SetProperty(u"Y2", base::Variant(c.nHeight));
    }
  }

  // The control's text in any tooltip control of this thread.
  static std::u16string ToolTip(HWND hControl) {
    struct Search {
      HWND hControl;
      std::u16string sText;
    } search{hControl, u""};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          wchar_t szClass[64] = {};
          GetClassNameW(h, szClass, 64);
          if (lstrcmpiW(szClass, TOOLTIPS_CLASSW) != 0) return TRUE;
          wchar_t szText[1024] = {};
          TOOLINFOW ti = {};
          ti.cbSize = TTTOOLINFOW_V2_SIZE;
          ti.hwnd = GetParent(s->hControl);
          ti.uId = reinterpret_cast<UINT_PTR>(s->hControl);
          if (!SendMessageW(h, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return TRUE;
          ti.lpszText = szText;
          SendMessageW(h, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
          s->sText = platform::win32::FromWide(szText, wcslen(szText));
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.sText;
  }

  HWND hForm_ = nullptr;
  HWND hUserControl_ = nullptr;
  std::map<std::u16string, HWND> windows_;
  platform::FormObjectRef frm_;
  platform::FormObjectRef uc_;
};

}  // namespace

std::unique_ptr<IFormBuilder> SystemFormBuilder() { return std::make_unique<Win32Builder>(); }

}  // namespace testing_support
