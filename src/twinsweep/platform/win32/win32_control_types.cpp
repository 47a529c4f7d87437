// What kind of control a window is, from its window class and style, and which
// of the framework's properties each kind carries.
#include "twinsweep/base/text.h"
#include "twinsweep/platform/win32/win32_form_parts.h"
#include "twinsweep/platform/win32/win32_strings.h"

namespace twinsweep {

namespace platform::win32 {

std::u16string WindowClassName(HWND hWnd) {
  wchar_t sz[256] = {};
  const int n = GetClassNameW(hWnd, sz, 256);
  return FromWide(sz, n > 0 ? static_cast<size_t>(n) : 0);
}

ControlType TypeOf(HWND hWnd) {
  const std::u16string sClass = WindowClassName(hWnd);
  const auto nStyle = static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE));
  if (base::EqualsNoCase(sClass, u"Button")) {
    switch (nStyle & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: return ControlType::CheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: return ControlType::OptionButton;
      case BS_GROUPBOX: return ControlType::Frame;
      default: return ControlType::CommandButton;
    }
  }
  if (base::EqualsNoCase(sClass, u"Static"))
    return (nStyle & SS_TYPEMASK) == SS_BITMAP ? ControlType::Image : ControlType::Label;
  if (base::EqualsNoCase(sClass, u"Edit")) return ControlType::TextBox;
  if (base::EqualsNoCase(sClass, u"ComboBox")) return ControlType::ComboBox;
  if (base::EqualsNoCase(sClass, u"ListBox")) return ControlType::ListBox;
  if (base::EqualsNoCase(sClass, FromWide(kLineClass))) return ControlType::Line;
  return ControlType::Other;
}

std::u16string TypeName(ControlType type, HWND hWnd) {
  switch (type) {
    case ControlType::CommandButton: return u"CommandButton";
    case ControlType::CheckBox: return u"CheckBox";
    case ControlType::OptionButton: return u"OptionButton";
    case ControlType::Frame: return u"Frame";
    case ControlType::Label: return u"Label";
    case ControlType::Image: return u"Image";
    case ControlType::TextBox: return u"TextBox";
    case ControlType::ComboBox: return u"ComboBox";
    case ControlType::ListBox: return u"ListBox";
    case ControlType::Line: return u"Line";
    case ControlType::Other: break;
  }
  return WindowClassName(hWnd);
}

bool HasCaption(ControlType type) {
  return type == ControlType::CommandButton || type == ControlType::CheckBox || type == ControlType::OptionButton ||
         type == ControlType::Frame || type == ControlType::Label;
}

// An edit box's and a combo box's window text is what the user typed: their Text.
bool HasText(ControlType type) { return type == ControlType::TextBox || type == ControlType::ComboBox; }

bool ShowsPicture(ControlType type) {
  return type == ControlType::CommandButton || type == ControlType::CheckBox || type == ControlType::OptionButton ||
         type == ControlType::Image;
}

}  // namespace platform::win32

}  // namespace twinsweep
