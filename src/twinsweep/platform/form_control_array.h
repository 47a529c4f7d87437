#pragma once
// A control array as a whole, as every window framework answers it: it has a name
// and elements, and no property of its own, so any entry aimed at the array
// rather than an element changes nothing (438). A framework supplies the lookup of
// its elements.
#include <string>

#include "twinsweep/platform/forms.h"

namespace twinsweep {

namespace platform {

class ControlArrayObject : public IFormObject {
 public:
  explicit ControlArrayObject(std::u16string sName) : sName_(std::move(sName)) {}
  std::u16string Name() override { return sName_; }
  std::u16string TypeName() override { return u"Object"; }
  base::Variant GetProperty(std::u16string_view) override;
  void SetProperty(std::u16string_view, const base::Variant&) override;
  PictureRef GetPicture() override;
  void SetPicture(const PictureRef&) override;
  ControlsRef Controls() override;
  // The element, or 340 when there is none at nIndex.
  FormObjectRef Element(int32_t nIndex) override;
  CaptionFit MeasureCaption() override;

 protected:
  // The element at nIndex, nullptr when there is none.
  virtual FormObjectRef FindElement(int32_t nIndex) = 0;

 private:
  std::u16string sName_;
};

}  // namespace platform

}  // namespace twinsweep
