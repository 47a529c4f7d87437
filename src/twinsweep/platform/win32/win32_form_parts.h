#pragma once
// The pieces of the Win32 window framework that its files share (see
// win32_forms.h for what the framework does).
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "twinsweep/platform/win32/win32_forms.h"
// The common controls (tool tips, window subclasses) need <windows.h> first.
#include <commctrl.h>

namespace twinsweep {

namespace platform::win32 {

// What one form or user control owns for as long as its window exists: the name
// table, the tooltip control, and the pictures its windows show (so that no
// window shows a deleted bitmap). Released when the window is destroyed.
struct Container {
  HWND hWnd = nullptr;
  std::u16string sName;
  std::u16string sType;
  bool bForm = false;
  std::vector<ControlName> names;
  HWND hToolTip = nullptr;
  std::map<HWND, PictureRef> pictures;
};
using ContainerRef = std::shared_ptr<Container>;

// The objects over a container (win32_form_objects.cpp).
FormObjectRef ContainerObject(const ContainerRef& c);

// What kind of control a window is, from its class and style (win32_control_types.cpp).
enum class ControlType {
  CommandButton,
  CheckBox,
  OptionButton,
  Frame,
  Label,
  Image,
  TextBox,
  ComboBox,
  ListBox,
  Line,
  Other
};
std::u16string WindowClassName(HWND hWnd);
ControlType TypeOf(HWND hWnd);
// The type name ("CommandButton", ...); for Other the window's class name.
std::u16string TypeName(ControlType type, HWND hWnd);
bool HasCaption(ControlType type);
bool HasText(ControlType type);
bool ShowsPicture(ControlType type);

// Mirrors the window (WS_EX_LAYOUTRTL) or turns it back, and every window in it
// but pictures, each child kept at its distance from the leading edge
// (win32_mirroring.cpp).
void SetLayoutRightToLeft(HWND hWnd, bool bRightToLeft);

// The fit of the window's caption (win32_caption_fit.cpp): a form's title or a control's text.
CaptionFit MeasureCaptionOf(HWND hWnd, ControlType type, bool bForm);

// Tool tips (win32_tooltips.cpp): the tip of a control, kept by its container's
// tooltip control; an empty text removes the tool.
void SetToolTip(Container& c, HWND hControl, std::u16string_view sText);
std::u16string ToolTipOf(const Container& c, HWND hControl);

// Lines (win32_line_control.cpp): end points in the parent's client pixels.
struct LinePoints {
  int x1, y1, x2, y2;
};
void RegisterLineClass();
LinePoints GetLinePoints(HWND hLine);
void SetLinePoints(HWND hLine, const LinePoints& points);

// Pictures and the screen (win32_pictures.cpp).
// The bitmap a picture holds (nullptr for an empty one); 380 for a picture of
// another framework.
HBITMAP BitmapOf(const PictureRef& oPicture);
// A picture over a bitmap that a window shows but the framework did not load: not deleted.
PictureRef ForeignPicture(HBITMAP hBitmap);
float ScreenTwipsPerPixel(bool bHorizontal);

}  // namespace platform::win32

}  // namespace twinsweep
