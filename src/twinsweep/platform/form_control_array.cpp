#include "twinsweep/platform/form_control_array.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"

namespace twinsweep {

namespace platform {

base::Variant ControlArrayObject::GetProperty(std::u16string_view) { base::Raise(base::kNoSuchMember); }
void ControlArrayObject::SetProperty(std::u16string_view, const base::Variant&) { base::Raise(base::kNoSuchMember); }
PictureRef ControlArrayObject::GetPicture() { base::Raise(base::kNoSuchMember); }
void ControlArrayObject::SetPicture(const PictureRef&) { base::Raise(base::kNoSuchMember); }
ControlsRef ControlArrayObject::Controls() { base::Raise(base::kNoSuchMember); }
CaptionFit ControlArrayObject::MeasureCaption() { base::Raise(base::kNoSuchMember); }

FormObjectRef ControlArrayObject::Element(int32_t nIndex) {
  if (FormObjectRef o = FindElement(nIndex)) return o;
  base::Raise(kErrControlArrayElement, u"Control array element '" + base::LongToText(nIndex) + u"' doesn't exist");
}

}  // namespace platform

}  // namespace twinsweep
