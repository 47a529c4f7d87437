#pragma once
// One form described once and built on a window framework: the in-memory one, or
// the system's (real windows in the Windows tree), so that the same form cases
// run against both. The builder also reads what a control shows around the
// framework's own objects (on Windows straight from the window), so a case checks
// the screen, not only what the adapter answers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "twinsweep/platform/forms.h"

using namespace twinsweep;

namespace testing_support {

constexpr int32_t kNotInArray = -1;

// A control: its type name, name, index and text (caption, or a text box's text),
// and its box in twips; a Line's four numbers are X1, Y1, X2, Y2.
struct ControlDesign {
  std::u16string sType;
  std::u16string sName;
  int32_t nIndex = kNotInArray;
  std::u16string sText;
  int32_t nLeft = 0, nTop = 0, nWidth = 0, nHeight = 0;
};

struct FormDesign {
  std::u16string sName;
  std::u16string sCaption;
  int32_t nLeft = 0, nTop = 0, nWidth = 0, nHeight = 0;
  std::vector<ControlDesign> controls;
  // A user control on the form, of this class, with these controls (none when empty).
  std::u16string sUserControlClass;
  int32_t nUserControlWidth = 0, nUserControlHeight = 0;
  std::vector<ControlDesign> userControlControls;
};

class IFormBuilder {
 public:
  virtual ~IFormBuilder() = default;
  // The framework's services (pictures, the screen) that go with its forms.
  virtual platform::IForms& Forms() = 0;
  // Builds the form, answers it; the user control is then UserControl().
  virtual platform::FormObjectRef Build(const FormDesign& design) = 0;
  virtual platform::FormObjectRef UserControl() = 0;
  // What the object sPath shows for sProperty, as text: "" the form, "cmdOK",
  // "optMode(1)", the user control's class name, "ucClass.lblStreet" a control of
  // it. Properties: Caption, Text, ToolTipText, Left, Top, Width, Height, and
  // Picture ("1" when an image is shown, else "0"), Mirrored ("1" when the object
  // draws mirrored), LeftAsDrawn and RightAsDrawn (the gap between its container's
  // left edge and its own, and between its right edge and its container's, as drawn).
  virtual std::u16string Shown(const std::u16string& sPath, const std::u16string& sProperty) = 0;
};

// The in-memory framework, on a screen of the given twips per pixel.
std::unique_ptr<IFormBuilder> MemoryFormBuilder(float fTwipsPerPixel = 15.0f);
// The system's framework: the in-memory one in the native tree, real windows in the Windows tree.
std::unique_ptr<IFormBuilder> SystemFormBuilder();

}  // namespace testing_support
