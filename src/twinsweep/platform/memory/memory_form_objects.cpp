// Forms, user controls, controls and control arrays of the in-memory framework.
#include <algorithm>
#include <cmath>

#include "twinsweep/base/access_key.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/form_control_array.h"
#include "twinsweep/platform/form_values.h"
#include "twinsweep/platform/memory/memory_forms.h"

namespace twinsweep {

namespace platform {
namespace {

using Kind = MemoryFormObject::PropertyKind;
using Property = MemoryFormObject::Property;

// What each type of object carries besides Index. Texts start empty, numbers at 0.
struct TypeInfo {
  std::u16string_view sType;
  std::vector<std::pair<std::u16string_view, Kind>> properties;
  bool bHasPicture;
};

const std::vector<std::pair<std::u16string_view, Kind>> kGeometry = {
    {u"Left", Kind::Number}, {u"Top", Kind::Number}, {u"Width", Kind::Number}, {u"Height", Kind::Number}};

std::vector<std::pair<std::u16string_view, Kind>> With(std::vector<std::pair<std::u16string_view, Kind>> first,
                                                       const std::vector<std::pair<std::u16string_view, Kind>>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

const std::vector<TypeInfo>& ControlTypes() {
  static const std::vector<TypeInfo> types = {
      {u"CommandButton", With({{u"Caption", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), true},
      {u"OptionButton", With({{u"Caption", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), true},
      {u"CheckBox", With({{u"Caption", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), true},
      {u"Label", With({{u"Caption", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), false},
      {u"Frame", With({{u"Caption", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), false},
      {u"TextBox", With({{u"Text", Kind::Text}, {u"ToolTipText", Kind::Text}}, kGeometry), false},
      {u"PictureBox", With({{u"ToolTipText", Kind::Text}}, kGeometry), true},
      {u"Image", With({{u"ToolTipText", Kind::Text}}, kGeometry), true},
      {u"Line", {{u"X1", Kind::Number}, {u"Y1", Kind::Number}, {u"X2", Kind::Number}, {u"Y2", Kind::Number}}, false},
  };
  return types;
}

std::vector<Property> MakeProperties(const std::vector<std::pair<std::u16string_view, Kind>>& list) {
  std::vector<Property> out;
  for (const auto& [sName, kind] : list)
    out.push_back(Property{std::u16string(sName), kind,
                           kind == Kind::Text   ? base::Variant(u"")
                           : kind == Kind::Flag ? base::Variant(false)
                                                : base::Variant(0.0)});
  return out;
}

[[noreturn]] void RaiseNoMember() { base::Raise(base::kNoSuchMember); }

// A control array of the in-memory framework: its elements, in order of addition.
class MemoryControlArray : public ControlArrayObject {
 public:
  MemoryControlArray(std::u16string sName, std::vector<std::shared_ptr<MemoryFormObject>> elements)
      : ControlArrayObject(std::move(sName)), elements_(std::move(elements)) {}

 protected:
  FormObjectRef FindElement(int32_t nIndex) override {
    for (const auto& e : elements_)
      if (e->Index() == nIndex) return e;
    return nullptr;
  }

 private:
  std::vector<std::shared_ptr<MemoryFormObject>> elements_;
};

}  // namespace

MemoryFormObject::MemoryFormObject(std::u16string sName, std::u16string sType, std::vector<Property> properties,
                                   bool bHasPicture, bool bContainer, std::optional<int32_t> nIndex)
    : sName_(std::move(sName)),
      sType_(std::move(sType)),
      properties_(std::move(properties)),
      bHasPicture_(bHasPicture),
      oPicture_(bHasPicture ? std::make_shared<MemoryPicture>() : nullptr),
      controls_(bContainer ? std::make_shared<MemoryControls>() : nullptr),
      nIndex_(nIndex) {}

std::shared_ptr<MemoryFormObject> MemoryFormObject::NewForm(std::u16string sName) {
  std::u16string sType = sName;
  return std::make_shared<MemoryFormObject>(
      std::move(sName), std::move(sType),
      MakeProperties(With({{u"Caption", Kind::Text}, {u"RightToLeft", Kind::Flag}}, kGeometry)), true, true,
      std::nullopt);
}

std::shared_ptr<MemoryFormObject> MemoryFormObject::NewUserControl(std::u16string sClassName) {
  std::u16string sType = sClassName;
  return std::make_shared<MemoryFormObject>(
      std::move(sClassName), std::move(sType),
      MakeProperties({{u"Width", Kind::Number}, {u"Height", Kind::Number}, {u"RightToLeft", Kind::Flag}}), true, true,
      std::nullopt);
}

std::shared_ptr<MemoryFormObject> MemoryFormObject::AddControl(std::u16string_view sType, std::u16string sName,
                                                               std::optional<int32_t> nIndex) {
  if (!controls_) RaiseNoMember();
  const auto& types = ControlTypes();
  auto it =
      std::find_if(types.begin(), types.end(), [&](const TypeInfo& t) { return base::EqualsNoCase(t.sType, sType); });
  if (it == types.end()) base::Raise(base::kInvalidProcedureCall);
  auto oControl = std::make_shared<MemoryFormObject>(std::move(sName), std::u16string(it->sType),
                                                     MakeProperties(it->properties), it->bHasPicture, false, nIndex);
  controls_->Add(oControl);
  oControl->container_ = weak_from_this();
  return oControl;
}

MemoryFormObject& MemoryFormObject::Set(std::u16string_view sName, const base::Variant& vValue) {
  SetProperty(sName, vValue);
  return *this;
}

MemoryFormObject::Property* MemoryFormObject::FindProperty(std::u16string_view sName) {
  for (auto& p : properties_)
    if (base::EqualsNoCase(p.sName, sName)) return &p;
  return nullptr;
}

base::Variant MemoryFormObject::GetProperty(std::u16string_view sName) {
  if (Property* p = FindProperty(sName)) return p->vValue;
  if (base::EqualsNoCase(sName, u"Index")) {
    if (!nIndex_) base::Raise(kErrNotAnArray, u"Object not an array");
    return base::Variant(*nIndex_);
  }
  if (bHasPicture_ && base::EqualsNoCase(sName, u"Picture"))
    return base::Variant(static_cast<int32_t>(oPicture_ ? oPicture_->Handle() : 0));
  RaiseNoMember();
}

void MemoryFormObject::SetProperty(std::u16string_view sName, const base::Variant& vValue) {
  if (Property* p = FindProperty(sName)) {
    // Convert first, so that a value that does not fit leaves the property as it was.
    if (p->kind == Kind::Text) {
      p->vValue = base::Variant(base::CStr(vValue));
      return;
    }
    const double d = PropertyNumber(vValue);
    if (p->kind == Kind::Flag) {
      p->vValue = base::Variant(d != 0);
      return;
    }
    // A window has no negative size, on any framework.
    if (d < 0 && (base::EqualsNoCase(p->sName, u"Width") || base::EqualsNoCase(p->sName, u"Height")))
      base::Raise(kErrInvalidPropertyValue, u"Invalid property value");
    p->vValue = base::Variant(d);
    return;
  }
  if (base::EqualsNoCase(sName, u"Index")) {
    if (!nIndex_) base::Raise(kErrNotAnArray, u"Object not an array");
    base::Raise(383, u"'Index' property is read-only");
  }
  // A picture is an object: only SetPicture can assign one.
  if (bHasPicture_ && base::EqualsNoCase(sName, u"Picture")) base::Raise(base::kTypeMismatch);
  RaiseNoMember();
}

bool MemoryFormObject::DrawsMirrored() {
  if (controls_) return PropertyNumber(FindProperty(u"RightToLeft")->vValue) != 0;
  const auto oContainer = container_.lock();
  const bool bPicture = base::EqualsNoCase(sType_, u"Image") || base::EqualsNoCase(sType_, u"PictureBox");
  return oContainer && oContainer->DrawsMirrored() && !bPicture;
}

double MemoryFormObject::LeftAsDrawn() {
  const double dLeft = PropertyNumber(GetProperty(u"Left"));
  const auto oContainer = container_.lock();
  if (!oContainer || !oContainer->DrawsMirrored()) return dLeft;
  return PropertyNumber(oContainer->GetProperty(u"Width")) - dLeft - PropertyNumber(GetProperty(u"Width"));
}

PictureRef MemoryFormObject::GetPicture() {
  if (!bHasPicture_) RaiseNoMember();
  return oPicture_;
}

void MemoryFormObject::SetPicture(const PictureRef& oPicture) {
  if (!bHasPicture_) RaiseNoMember();
  oPicture_ = oPicture ? oPicture : std::make_shared<MemoryPicture>();
}

ControlsRef MemoryFormObject::Controls() {
  if (!controls_) RaiseNoMember();
  return controls_;
}

FormObjectRef MemoryFormObject::Element(int32_t) { base::Raise(kErrNotAnArray, u"Object not an array"); }

namespace {

int32_t Px(double d) { return static_cast<int32_t>(std::lround(d)); }

// The caption's lines: broken at CR LF, and for a wrapping object at the last
// blank that keeps a line within nRoomChars (a longer word keeps a line of its own).
std::vector<std::u16string> CaptionLines(const std::u16string& sText, bool bWraps, size_t nRoomChars) {
  std::vector<std::u16string> out;
  for (const std::u16string& sParagraph : base::Split(sText, u"\r\n")) {
    if (!bWraps) {
      out.push_back(sParagraph);
      continue;
    }
    std::u16string sLine;
    for (const std::u16string& sWord : base::Split(sParagraph, u" ")) {
      const std::u16string sLonger = sLine.empty() ? sWord : sLine + u" " + sWord;
      if (sLine.empty() || sLonger.size() <= nRoomChars) {
        sLine = sLonger;
      } else {
        out.push_back(sLine);
        sLine = sWord;
      }
    }
    out.push_back(sLine);
  }
  return out;
}

}  // namespace

CaptionFit MemoryFormObject::MeasureCaption() {
  Property* pCaption = FindProperty(u"Caption");
  if (!pCaption) RaiseNoMember();
  IForms& forms = Forms();
  const double dTwipsX = forms.TwipsPerPixelX(), dTwipsY = forms.TwipsPerPixelY();
  const double sx = 15.0 / dTwipsX, sy = 15.0 / dTwipsY;
  const int32_t nChar = std::max(1, Px(kMemoryCharWidth * sx)), nLine = Px(kMemoryLineHeight * sy);
  const bool bForm = controls_ != nullptr;
  int32_t nInsetX = 0, nInsetY = 0;
  if (bForm)
    nInsetX = kMemoryTitleChrome;
  else if (base::EqualsNoCase(sType_, u"CommandButton"))
    nInsetX = nInsetY = 2 * kMemoryButtonPadding;
  else if (base::EqualsNoCase(sType_, u"CheckBox") || base::EqualsNoCase(sType_, u"OptionButton"))
    nInsetX = kMemoryGlyphWidth;
  else if (base::EqualsNoCase(sType_, u"Frame"))
    nInsetX = 2 * kMemoryFrameInset;
  CaptionFit fit;
  fit.bWraps = base::EqualsNoCase(sType_, u"Label");
  fit.nRoomWidth = Px(PropertyNumber(FindProperty(u"Width")->vValue) / dTwipsX) - Px(nInsetX * sx);
  fit.nRoomHeight = bForm ? nLine : Px(PropertyNumber(FindProperty(u"Height")->vValue) / dTwipsY) - Px(nInsetY * sy);
  // A control draws its access key's mark as an underline; a title bar shows it as it is.
  const std::u16string sCaption = base::CStr(pCaption->vValue);
  const auto lines = CaptionLines(bForm ? sCaption : base::DrawnText(sCaption), fit.bWraps,
                                  static_cast<size_t>(std::max(0, fit.nRoomWidth) / nChar));
  size_t nLongest = 0;
  for (const auto& sLine : lines) nLongest = std::max(nLongest, sLine.size());
  fit.nNeededWidth = static_cast<int32_t>(nLongest) * nChar;
  fit.nNeededHeight = static_cast<int32_t>(lines.size()) * nLine;
  return fit;
}

FormObjectRef MemoryControls::Item(int32_t nPosition) {
  if (nPosition < 0 || nPosition >= Count()) base::Raise(base::kSubscriptOutOfRange);
  return items_[static_cast<size_t>(nPosition)];
}

FormObjectRef MemoryControls::Find(std::u16string_view sName) {
  for (const auto& c : items_) {
    if (!base::EqualsNoCase(c->Name(), sName)) continue;
    if (!c->Index()) return c;
    return std::make_shared<MemoryControlArray>(c->Name(), Elements(sName));
  }
  base::Raise(kErrControlNotFound, u"Control '" + std::u16string(sName) + u"' not found");
}

void MemoryControls::Add(std::shared_ptr<MemoryFormObject> oControl) {
  for (const auto& c : items_) {
    if (!base::EqualsNoCase(c->Name(), oControl->Name())) continue;
    // One name is either one control or one array, and an index is used once.
    if (!c->Index() || !oControl->Index() || c->Index() == oControl->Index()) base::Raise(base::kInvalidProcedureCall);
  }
  items_.push_back(std::move(oControl));
}

std::vector<std::shared_ptr<MemoryFormObject>> MemoryControls::Elements(std::u16string_view sName) const {
  std::vector<std::shared_ptr<MemoryFormObject>> out;
  for (const auto& c : items_)
    if (c->Index() && base::EqualsNoCase(c->Name(), sName)) out.push_back(c);
  return out;
}

}  // namespace platform

}  // namespace twinsweep
