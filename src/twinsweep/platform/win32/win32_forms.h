#pragma once
// The Win32 window framework: real windows seen through platform/forms.h, so that
// CLang localizes and dumps them like any form.
//
// A form is a top-level window (usually a dialog); a user control is a child
// window that holds controls of its own; controls are its child windows. Win32
// controls carry no names, so each form or user control is attached with a name
// table that gives every control it should know a name and, for an element of a
// control array, an index. The table's order is the order in which the form's
// controls are enumerated (and dumped).
//
// The way to build a form: design it as a DIALOGEX resource, and in WM_INITDIALOG
// attach it with its table, then hand it to CLang:
//
//   const platform::win32::ControlName kNames[] = {
//       {IDC_OK, u"cmdOK"}, {IDC_MODE0, u"optMode", 0}, {IDC_MODE1, u"optMode", 1}};
//   auto frm = platform::win32::AttachForm(hDlg, u"frmOptions", {std::begin(kNames), std::end(kNames)});
//   lang.LocalizeForm(frm);
//
// A line is a control of the class kLineClass (CONTROL "", id, "TwinsweepLine",
// WS_CHILD | WS_VISIBLE, x, y, cx, cy): its window is the line's bounding box and
// it is drawn across the box's middle, horizontally when the box is wider than
// tall, else vertically, until X1, Y1, X2, Y2 are set. Call RegisterFormClasses
// before creating a dialog that has one.
//
// Type names come from the class and style: Button (push button CommandButton,
// check box CheckBox, radio button OptionButton, group box Frame), Static (Label,
// with SS_BITMAP Image), Edit TextBox, ComboBox, ListBox, kLineClass Line. A form's
// type name is its own name, a user control's the name of its window class.
//
// Positions are in twips at the screen's pixels per inch: a form's on the screen,
// a control's in its container's client area; Width and Height are the outer
// size. Tool tips live in one tooltip control per form (and per user control).
// A picture shown by a control or as a form's background is kept alive by the
// form until the window is destroyed or shows another one.
#include <cstdint>
#include <string>
#include <vector>

#include "twinsweep/platform/forms.h"
#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

constexpr int32_t kNoIndex = -1;

/// One control of a form's name table: its dialog item identifier, its name, and
/// its index when it is an element of a control array.
struct ControlName {
  int nId;                    ///< the dialog item identifier
  std::u16string sName;       ///< the name the language file uses
  int32_t nIndex = kNoIndex;  ///< the element's index in its control array, or kNoIndex
};

inline constexpr wchar_t kLineClass[] = L"TwinsweepLine";

/// Registers the line class and sets up the common controls (tool tips); once per
/// process, also done by the first attach.
void RegisterFormClasses();

/// The form over the top-level window hWnd, named sName. Attaching a window again
/// replaces its name table; the form lives until the window is destroyed.
FormObjectRef AttachForm(HWND hWnd, std::u16string sName, std::vector<ControlName> names);
/// The user control over the child window hWnd, whose controls are its own child windows.
FormObjectRef AttachUserControl(HWND hWnd, std::vector<ControlName> names);

}  // namespace platform::win32

}  // namespace twinsweep
