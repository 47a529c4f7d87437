#pragma once
// The program's own window framework: forms, user controls, controls, control
// arrays and pictures held in memory.
//
// It stands where no real framework exists (the native build) and lets the
// localization engine's tests in both trees work on forms built in code; the
// Windows build has real windows (platform/win32/win32_forms.h). It keeps the
// framework's rules that the engine depends on: each type of control has its own
// set of properties, and reading or setting one it lacks fails with 438; forms and
// user controls are mirrored through RightToLeft (see DrawsMirrored); names are
// found without regard to case; a control array's name gives the array, whose
// elements are taken by index; pictures are read from and written to real .bmp
// files through platform::Files().
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "twinsweep/platform/forms.h"
#include "twinsweep/platform/bmp_codec.h"

namespace twinsweep {

namespace platform {

// A picture held in memory. An empty one has no pixels and the handle 0; one
// with an image has a handle of its own, unique in the process.
class MemoryPicture : public IPicture {
 public:
  MemoryPicture() = default;
  explicit MemoryPicture(Bitmap bitmap);
  // A picture of one colour (0x00RRGGBB), for forms built in code.
  static std::shared_ptr<MemoryPicture> Solid(int32_t nWidth, int32_t nHeight, uint32_t nColor);

  std::intptr_t Handle() override { return hHandle_; }
  const Bitmap& Image() const { return bitmap_; }

 private:
  Bitmap bitmap_;
  std::intptr_t hHandle_ = 0;
};

class MemoryControls;

// The fixed font of the in-memory framework at 96 pixels per inch, scaled with the
// screen (15 twips per pixel / the screen's): every character is this wide and
// every line this high. Captions break at CR LF; a Label also wraps at blanks. A
// control draws its text as Windows does: the "&" of an access key takes no room.
// The room is the object's box, less a CommandButton's padding on each side, a
// CheckBox's or OptionButton's glyph on the left, a Frame's inset on each side,
// and a form's frame and close button.
constexpr int32_t kMemoryCharWidth = 6;
constexpr int32_t kMemoryLineHeight = 13;
constexpr int32_t kMemoryButtonPadding = 3;
constexpr int32_t kMemoryGlyphWidth = 17;
constexpr int32_t kMemoryFrameInset = 9;
constexpr int32_t kMemoryTitleChrome = 40;

// A form, a user control or a control. Built in code: create a form or user
// control, then add its controls; set properties through SetProperty or Set.
class MemoryFormObject : public IFormObject, public std::enable_shared_from_this<MemoryFormObject> {
 public:
  // A form; its type name is its class name, which is also its name.
  static std::shared_ptr<MemoryFormObject> NewForm(std::u16string sName);
  // A user control of the class sClassName (its type name).
  static std::shared_ptr<MemoryFormObject> NewUserControl(std::u16string sClassName);

  // Adds a control of the type sType ("CommandButton", "Label", "TextBox",
  // "Line", "PictureBox", "Image", "OptionButton", "CheckBox", "Frame"); with
  // nIndex as the element nIndex of the control array sName. Fails with 5 for an
  // unknown type, a name already taken, or an index already taken.
  std::shared_ptr<MemoryFormObject> AddControl(std::u16string_view sType, std::u16string sName,
                                               std::optional<int32_t> nIndex = std::nullopt);
  // SetProperty that answers the object, so that building reads as one statement.
  MemoryFormObject& Set(std::u16string_view sName, const base::Variant& vValue);

  std::u16string Name() override { return sName_; }
  std::u16string TypeName() override { return sType_; }
  base::Variant GetProperty(std::u16string_view sName) override;
  void SetProperty(std::u16string_view sName, const base::Variant& vValue) override;
  PictureRef GetPicture() override;
  void SetPicture(const PictureRef& oPicture) override;
  ControlsRef Controls() override;
  FormObjectRef Element(int32_t nIndex) override;
  // Fixed extents, so that tests know the answer: see kMemoryCharWidth.
  CaptionFit MeasureCaption() override;

  std::optional<int32_t> Index() const { return nIndex_; }

  // Mirroring, as Windows mirrors a window of WS_EX_LAYOUTRTL: a form or user
  // control whose RightToLeft is set draws its controls from its right edge, each
  // at the same distance from it as Left says, and draws them mirrored, except
  // pictures (an Image, a PictureBox), which keep their own orientation.
  // True when the object draws mirrored.
  bool DrawsMirrored();
  // The distance of the object's left edge, as drawn, from its container's left
  // edge (a container's width is all its room); Left for an object not mirrored.
  double LeftAsDrawn();

  enum class PropertyKind { Text, Number, Flag };
  struct Property {
    std::u16string sName;  // as the framework spells it
    PropertyKind kind;
    base::Variant vValue;
  };

  // Use the factories; public only for std::make_shared.
  MemoryFormObject(std::u16string sName, std::u16string sType, std::vector<Property> properties, bool bHasPicture,
                   bool bContainer, std::optional<int32_t> nIndex);

 private:
  Property* FindProperty(std::u16string_view sName);

  std::u16string sName_;
  std::u16string sType_;
  std::vector<Property> properties_;
  bool bHasPicture_;
  PictureRef oPicture_;
  std::shared_ptr<MemoryControls> controls_;
  std::optional<int32_t> nIndex_;
  std::weak_ptr<MemoryFormObject> container_;
};

// The controls of one container, in the order in which they were added.
class MemoryControls : public IControls {
 public:
  int32_t Count() override { return static_cast<int32_t>(items_.size()); }
  FormObjectRef Item(int32_t nPosition) override;
  FormObjectRef Find(std::u16string_view sName) override;

  void Add(std::shared_ptr<MemoryFormObject> oControl);
  // The elements of the control array sName, in order of addition.
  std::vector<std::shared_ptr<MemoryFormObject>> Elements(std::u16string_view sName) const;

 private:
  std::vector<std::shared_ptr<MemoryFormObject>> items_;
};

// The framework's services: pictures from and to .bmp files, the screen's
// twips per pixel (15 by 15 unless set otherwise).
class MemoryForms : public IForms {
 public:
  PictureRef LoadPicture(std::u16string_view sPath) override;
  void SavePicture(const PictureRef& oPicture, std::u16string_view sPath) override;
  float TwipsPerPixelX() override { return fTwipsPerPixelX_; }
  float TwipsPerPixelY() override { return fTwipsPerPixelY_; }
  void SetTwipsPerPixel(float fX, float fY) {
    fTwipsPerPixelX_ = fX;
    fTwipsPerPixelY_ = fY;
  }

 private:
  float fTwipsPerPixelX_ = 15.0f;
  float fTwipsPerPixelY_ = 15.0f;
};

}  // namespace platform

}  // namespace twinsweep
