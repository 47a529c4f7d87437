// The objects of the Win32 framework: a form or user control, its controls, and
// its control arrays, each a view of real windows. Every property is read from
// and written to the window itself (window text, rectangle, tooltip tool, shown
// image), so what the engine sets is what the user sees.
#include <cmath>
#include <optional>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/form_control_array.h"
#include "twinsweep/platform/form_values.h"
#include "twinsweep/platform/win32/win32_form_parts.h"
#include "twinsweep/platform/win32/win32_strings.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

[[noreturn]] void RaiseNoMember() { base::Raise(base::kNoSuchMember); }
[[noreturn]] void RaiseNotAnArray() { base::Raise(kErrNotAnArray, u"Object not an array"); }
[[noreturn]] void RaiseInvalidValue() { base::Raise(kErrInvalidPropertyValue, u"Invalid property value"); }

// The position of sName in the list, if it is there (without regard to case).
std::optional<int> Which(std::u16string_view sName, std::initializer_list<std::u16string_view> names) {
  int i = 0;
  for (std::u16string_view s : names) {
    if (base::EqualsNoCase(s, sName)) return i;
    ++i;
  }
  return std::nullopt;
}

// Twips and the screen's pixels: even entries of a rectangle or a line are horizontal.
int ToPixels(const base::Variant& vTwips, bool bHorizontal) {
  const double d = PropertyNumber(vTwips) / ScreenTwipsPerPixel(bHorizontal);
  if (!std::isfinite(d) || std::fabs(d) > 1e6) RaiseInvalidValue();
  return static_cast<int>(std::lround(d));
}
base::Variant ToTwips(int nPixels, bool bHorizontal) {
  return base::Variant(static_cast<double>(nPixels) * ScreenTwipsPerPixel(bHorizontal));
}

std::u16string WindowText(HWND h) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  const int n = GetWindowTextW(h, s.data(), static_cast<int>(s.size()));
  return FromWide(s.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

// The image a control shows, as its own message answers it.
HBITMAP ShownBitmap(HWND h, ControlType type) {
  const UINT nMsg = type == ControlType::Image ? STM_GETIMAGE : BM_GETIMAGE;
  return reinterpret_cast<HBITMAP>(SendMessageW(h, nMsg, IMAGE_BITMAP, 0));
}

class Win32FormObject : public IFormObject {
 public:
  explicit Win32FormObject(ContainerRef c)
      : c_(std::move(c)),
        hWnd_(c_->hWnd),
        sName_(c_->sName),
        nIndex_(kNoIndex),
        bContainer_(true),
        type_(ControlType::Other) {}
  Win32FormObject(ContainerRef c, HWND hWnd, std::u16string sName, int32_t nIndex)
      : c_(std::move(c)),
        hWnd_(hWnd),
        sName_(std::move(sName)),
        nIndex_(nIndex),
        bContainer_(false),
        type_(TypeOf(hWnd)) {}

  std::u16string Name() override { return sName_; }
  std::u16string TypeName() override { return bContainer_ ? c_->sType : win32::TypeName(type_, hWnd_); }

  base::Variant GetProperty(std::u16string_view sName) override {
    HWND h = Window();
    if (IsText(sName)) return base::Variant(WindowText(h));
    if (HasToolTip() && base::EqualsNoCase(sName, u"ToolTipText")) return base::Variant(ToolTipOf(*c_, h));
    if (auto n = Which(sName, {u"Left", u"Top", u"Width", u"Height"}); n && HasBox(*n)) {
      const RECT rc = Box(h);
      const int values[] = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
      return ToTwips(values[*n], *n % 2 == 0);
    }
    if (auto n = Which(sName, {u"X1", u"Y1", u"X2", u"Y2"}); n && IsLine()) {
      const LinePoints p = GetLinePoints(h);
      const int values[] = {p.x1, p.y1, p.x2, p.y2};
      return ToTwips(values[*n], *n % 2 == 0);
    }
    if (base::EqualsNoCase(sName, u"Index")) {
      if (nIndex_ == kNoIndex) RaiseNotAnArray();
      return base::Variant(nIndex_);
    }
    if (bContainer_ && base::EqualsNoCase(sName, u"RightToLeft"))
      return base::Variant((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
    // Read by name a picture answers its handle, as its default member does.
    if (HasPicture() && base::EqualsNoCase(sName, u"Picture"))
      return base::Variant(static_cast<int32_t>(GetPicture()->Handle()));
    RaiseNoMember();
  }

  void SetProperty(std::u16string_view sName, const base::Variant& vValue) override {
    HWND h = Window();
    if (IsText(sName)) {
      // A text with a NUL of its own would show cut short: refused as a bad argument.
      const auto text = Wide(base::CStr(vValue));
      if (!text) base::Raise(base::kInvalidProcedureCall);
      if (!SetWindowTextW(h, text->c_str())) base::Raise(base::kOutOfMemory);
      return;
    }
    if (HasToolTip() && base::EqualsNoCase(sName, u"ToolTipText")) {
      SetToolTip(*c_, h, base::CStr(vValue));
      return;
    }
    if (auto n = Which(sName, {u"Left", u"Top", u"Width", u"Height"}); n && HasBox(*n)) {
      // Convert first, so that a value that does not fit leaves the window as it was.
      const int nPixels = ToPixels(vValue, *n % 2 == 0);
      // A window has no negative size, on any framework.
      if (*n >= 2 && PropertyNumber(vValue) < 0) RaiseInvalidValue();
      RECT rc = Box(h);
      int x = rc.left, y = rc.top, cx = rc.right - rc.left, cy = rc.bottom - rc.top;
      int* fields[] = {&x, &y, &cx, &cy};
      *fields[*n] = nPixels;
      SetWindowPos(h, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    if (auto n = Which(sName, {u"X1", u"Y1", u"X2", u"Y2"}); n && IsLine()) {
      const int nPixels = ToPixels(vValue, *n % 2 == 0);
      LinePoints p = GetLinePoints(h);
      int* fields[] = {&p.x1, &p.y1, &p.x2, &p.y2};
      *fields[*n] = nPixels;
      SetLinePoints(h, p);
      return;
    }
    if (bContainer_ && base::EqualsNoCase(sName, u"RightToLeft")) {
      SetLayoutRightToLeft(h, PropertyNumber(vValue) != 0);
      return;
    }
    if (base::EqualsNoCase(sName, u"Index")) {
      if (nIndex_ == kNoIndex) RaiseNotAnArray();
      base::Raise(383, u"'Index' property is read-only");
    }
    // A picture is an object: only SetPicture can assign one.
    if (HasPicture() && base::EqualsNoCase(sName, u"Picture")) base::Raise(base::kTypeMismatch);
    RaiseNoMember();
  }

  PictureRef GetPicture() override {
    if (!HasPicture()) RaiseNoMember();
    HWND h = Window();
    auto it = c_->pictures.find(h);
    if (bContainer_) return it != c_->pictures.end() ? it->second : ForeignPicture(nullptr);
    HBITMAP hShown = ShownBitmap(h, type_);
    if (it != c_->pictures.end() && BitmapOf(it->second) == hShown) return it->second;
    return ForeignPicture(hShown);
  }

  void SetPicture(const PictureRef& oPicture) override {
    if (!HasPicture()) RaiseNoMember();
    HWND h = Window();
    HBITMAP hBitmap = BitmapOf(oPicture);
    if (bContainer_) {
      InvalidateRect(h, nullptr, TRUE);
    } else {
      const UINT nMsg = type_ == ControlType::Image ? STM_SETIMAGE : BM_SETIMAGE;
      SendMessageW(h, nMsg, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap));
    }
    // Kept by the container for as long as the window may show it.
    if (hBitmap)
      c_->pictures[h] = oPicture;
    else
      c_->pictures.erase(h);
  }

  ControlsRef Controls() override;

  FormObjectRef Element(int32_t) override { RaiseNotAnArray(); }

  CaptionFit MeasureCaption() override {
    if (!IsText(u"Caption")) RaiseNoMember();
    return MeasureCaptionOf(Window(), type_, bContainer_);
  }

 private:
  HWND Window() const {
    if (!IsWindow(hWnd_) || !c_->hWnd) base::Raise(base::kObjectNotSet);
    return hWnd_;
  }
  // Caption (a form's title, a button's or label's text) or Text (an edit box's).
  bool IsText(std::u16string_view sName) const {
    if (base::EqualsNoCase(sName, u"Caption")) return bContainer_ ? c_->bForm : HasCaption(type_);
    return base::EqualsNoCase(sName, u"Text") && !bContainer_ && HasText(type_);
  }
  bool IsLine() const { return !bContainer_ && type_ == ControlType::Line; }
  bool HasToolTip() const { return !bContainer_ && type_ != ControlType::Line; }
  // Left and Top (n < 2) belong to forms and controls; a user control has only its size.
  bool HasBox(int n) const { return bContainer_ ? (c_->bForm || n >= 2) : type_ != ControlType::Line; }
  bool HasPicture() const { return bContainer_ || ShowsPicture(type_); }

  // A form's rectangle on the screen; any other window's in its parent's client area.
  RECT Box(HWND h) const {
    RECT rc;
    GetWindowRect(h, &rc);
    if (!(bContainer_ && c_->bForm)) MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  ContainerRef c_;
  HWND hWnd_;
  std::u16string sName_;
  int32_t nIndex_;
  bool bContainer_;
  ControlType type_;
};

// A control with its name and index, when its window exists.
FormObjectRef ControlOf(const ContainerRef& c, const ControlName& entry) {
  HWND h = GetDlgItem(c->hWnd, entry.nId);
  if (!h) base::Raise(kErrControlNotFound, u"Control '" + entry.sName + u"' not found");
  return std::make_shared<Win32FormObject>(c, h, entry.sName, entry.nIndex);
}

// A control array of the Win32 framework: the elements are the table's entries of its name.
class Win32ControlArray : public ControlArrayObject {
 public:
  Win32ControlArray(ContainerRef c, std::u16string sName) : ControlArrayObject(sName), c_(std::move(c)) {}

 protected:
  FormObjectRef FindElement(int32_t nIndex) override {
    for (const ControlName& e : c_->names)
      if (e.nIndex == nIndex && base::EqualsNoCase(e.sName, Name()) && GetDlgItem(c_->hWnd, e.nId))
        return ControlOf(c_, e);
    return nullptr;
  }

 private:
  ContainerRef c_;
};

// The controls of the name table whose windows exist, in the table's order.
class Win32Controls : public IControls {
 public:
  explicit Win32Controls(ContainerRef c) : c_(std::move(c)) {}
  int32_t Count() override { return static_cast<int32_t>(Live().size()); }
  FormObjectRef Item(int32_t nPosition) override {
    const auto live = Live();
    if (nPosition < 0 || nPosition >= static_cast<int32_t>(live.size())) base::Raise(base::kSubscriptOutOfRange);
    return ControlOf(c_, *live[static_cast<size_t>(nPosition)]);
  }
  FormObjectRef Find(std::u16string_view sName) override {
    for (const ControlName* e : Live()) {
      if (!base::EqualsNoCase(e->sName, sName)) continue;
      if (e->nIndex == kNoIndex) return ControlOf(c_, *e);
      return std::make_shared<Win32ControlArray>(c_, e->sName);
    }
    base::Raise(kErrControlNotFound, u"Control '" + std::u16string(sName) + u"' not found");
  }

 private:
  std::vector<const ControlName*> Live() const {
    if (!c_->hWnd) base::Raise(base::kObjectNotSet);
    std::vector<const ControlName*> out;
    for (const ControlName& e : c_->names)
      if (GetDlgItem(c_->hWnd, e.nId)) out.push_back(&e);
    return out;
  }
  ContainerRef c_;
};

ControlsRef Win32FormObject::Controls() {
  if (!bContainer_) RaiseNoMember();
  Window();
  return std::make_shared<Win32Controls>(c_);
}

}  // namespace

FormObjectRef ContainerObject(const ContainerRef& c) { return std::make_shared<Win32FormObject>(c); }

}  // namespace platform::win32

}  // namespace twinsweep
