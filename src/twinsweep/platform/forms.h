#pragma once
// The host window framework: forms, user controls, their controls and pictures,
// as the localization engine sees them.
//
// Objects are reached through plain interfaces and answered as shared
// references; every operation may fail, and a failure is a base::Failure with
// the framework's own number and description:
//   438 "Object doesn't support this property or method"  a property the object lacks
//   343 "Object not an array"                                Index or an element of a plain control
//   340 "Control array element 'n' doesn't exist"             an element that is not there
//   730 "Control 'name' not found"                             a name no control carries
//   53 / 76 / 75 / 481                                         picture files (missing, bad path,
//                                                              refused, not an image)
// The services (loading and saving pictures, the screen's metrics) are reached
// with platform::Forms().
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "twinsweep/base/variant.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

/// Run-time numbers of the framework's own failures.
constexpr int32_t kErrControlArrayElement = 340;   ///< Control array element does not exist
constexpr int32_t kErrNotAnArray = 343;            ///< Object not an array
constexpr int32_t kErrInvalidPropertyValue = 380;  ///< Invalid property value
constexpr int32_t kErrInvalidPicture = 481;        ///< Invalid picture
constexpr int32_t kErrControlNotFound = 730;       ///< Control not found

/// A picture object (StdPicture): a handle of 0 means it holds no image.
class IPicture {
 public:
  virtual ~IPicture() = default;
  virtual std::intptr_t Handle() = 0;  ///< The image's handle, or 0.
};
using PictureRef = std::shared_ptr<IPicture>;  ///< A shared picture, or none.

/// What an object's caption needs and has, in pixels of the screen: measured in the
/// object's own font with the flags it draws with (the width of its longest line,
/// the height of all its lines, wrapped at the room's width when the object wraps
/// its text), and the room it gives the text once its check or option glyph, its
/// frame or its padding is taken off.
struct CaptionFit {
  int32_t nNeededWidth = 0;   ///< The width of the caption's longest line.
  int32_t nNeededHeight = 0;  ///< The height of all the caption's lines.
  int32_t nRoomWidth = 0;     ///< The width the object gives its caption.
  int32_t nRoomHeight = 0;    ///< The height the object gives its caption.
  bool bWraps = false;        ///< The width is fixed and a longer text takes more lines.
};

class IControls;
class IFormObject;
using FormObjectRef = std::shared_ptr<IFormObject>;  ///< A shared form object, or none.
using ControlsRef = std::shared_ptr<IControls>;      ///< A container's shared controls, or none.

/// A form, a user control, a control, or a control array as a whole.
///
/// Properties are named at run time and compared without regard to case. The
/// ones the engine uses: Caption and ToolTipText (text); Left, Top, Width,
/// Height, X1, Y1, X2, Y2 (numbers in the container's units); Index (the element's
/// index in its control array); Picture (an object, through GetPicture and
/// SetPicture; read by name it answers the picture's handle, as the picture's
/// default member does).
class IFormObject {
 public:
  virtual ~IFormObject() = default;
  /// The object's name (a control array: the name its elements share).
  virtual std::u16string Name() = 0;
  /// "CommandButton", "Line", ...; for a form or user control its class name.
  virtual std::u16string TypeName() = 0;
  /// The property sName (438 when the object has none of that name).
  virtual base::Variant GetProperty(std::u16string_view sName) = 0;
  /// Numbers take a numeric value or a text that reads as one (13 otherwise);
  /// texts take the value's text form.
  virtual void SetProperty(std::u16string_view sName, const base::Variant& vValue) = 0;
  /// The picture the object shows, or none.
  virtual PictureRef GetPicture() = 0;
  /// Shows oPicture (none: no picture).
  virtual void SetPicture(const PictureRef& oPicture) = 0;
  /// The child controls of a form or user control (438 for other objects).
  virtual ControlsRef Controls() = 0;
  /// The element nIndex of a control array (340 when absent; 343 for an object
  /// that is not a control array).
  virtual FormObjectRef Element(int32_t nIndex) = 0;
  /// Measures the caption as it is now shown: a form's title in the caption bar,
  /// a control's text inside it (438 for an object without a caption).
  virtual CaptionFit MeasureCaption() = 0;
};

/// A container's controls: every control and every element of a control array,
/// in a fixed order.
class IControls {
 public:
  virtual ~IControls() = default;
  virtual int32_t Count() = 0;  ///< How many there are.
  /// The control at nPosition, counted from 0 (9 out of range).
  virtual FormObjectRef Item(int32_t nPosition) = 0;
  /// The control named sName, compared without regard to case; for the name of a
  /// control array the array itself (730 when no control has the name).
  virtual FormObjectRef Find(std::u16string_view sName) = 0;
};

/// The framework's global services.
class IForms {
 public:
  virtual ~IForms() = default;
  /// LoadPicture: the image in the file (53 missing, 481 not an image).
  virtual PictureRef LoadPicture(std::u16string_view sPath) = 0;
  /// SavePicture: writes the picture as a .bmp file (380 for a picture without an
  /// image, 76 / 75 when the file cannot be created).
  virtual void SavePicture(const PictureRef& oPicture, std::u16string_view sPath) = 0;
  /// Screen.TwipsPerPixelX / Y: 15 on a screen of 96 pixels per inch.
  virtual float TwipsPerPixelX() = 0;
  virtual float TwipsPerPixelY() = 0;  ///< \copydoc TwipsPerPixelX
};

/// The build's own window framework.
template <>
IForms& Default<IForms>();
/// The window framework in use (a test's double while one is set).
inline IForms& Forms() { return Get<IForms>(); }

}  // namespace platform

}  // namespace twinsweep
