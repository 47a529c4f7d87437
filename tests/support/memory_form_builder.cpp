// Forms of the in-memory framework built from a design.
#include "twinsweep/base/text.h"
#include "twinsweep/platform/form_values.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "support/form_builder.h"

using namespace twinsweep;

namespace testing_support {
namespace {

using base::Variant;
using platform::MemoryFormObject;

void AddControls(MemoryFormObject& container, const std::vector<ControlDesign>& controls) {
  for (const ControlDesign& d : controls) {
    auto o = container.AddControl(
        d.sType, d.sName, d.nIndex == kNotInArray ? std::nullopt : std::optional<int32_t>(d.nIndex));
    const bool bLine = base::EqualsNoCase(d.sType, u"Line");
    const char16_t* names[] = {u"Left", u"Top", u"Width", u"Height", u"X1", u"Y1", u"X2", u"Y2"};
    const int32_t values[] = {d.nLeft, d.nTop, d.nWidth, d.nHeight};
    for (int i = 0; i < 4; ++i) o->SetProperty(names[bLine ? i + 4 : i], Variant(values[i]));
    if (d.sText.empty()) continue;
    o->SetProperty(base::EqualsNoCase(d.sType, u"TextBox") ? u"Text" : u"Caption", Variant(d.sText));
  }
}

class MemoryBuilder : public IFormBuilder {
 public:
  explicit MemoryBuilder(float fTwipsPerPixel) { forms_.SetTwipsPerPixel(fTwipsPerPixel, fTwipsPerPixel); }
  platform::IForms& Forms() override { return forms_; }

  platform::FormObjectRef Build(const FormDesign& design) override {
    auto frm = MemoryFormObject::NewForm(design.sName);
    frm->Set(u"Caption", Variant(design.sCaption))
        .Set(u"Left", Variant(design.nLeft))
        .Set(u"Top", Variant(design.nTop))
        .Set(u"Width", Variant(design.nWidth))
        .Set(u"Height", Variant(design.nHeight));
    AddControls(*frm, design.controls);
    uc_ = nullptr;
    if (!design.sUserControlClass.empty()) {
      uc_ = MemoryFormObject::NewUserControl(design.sUserControlClass);
      uc_->Set(u"Width", Variant(design.nUserControlWidth)).Set(u"Height", Variant(design.nUserControlHeight));
      AddControls(*uc_, design.userControlControls);
    }
    frm_ = frm;
    return frm;
  }

  platform::FormObjectRef UserControl() override { return uc_; }

  std::u16string Shown(const std::u16string& sPath, const std::u16string& sProperty) override {
    platform::FormObjectRef o = Resolve(sPath);
    if (base::EqualsNoCase(sProperty, u"Picture")) return o->GetPicture()->Handle() ? u"1" : u"0";
    auto* m = dynamic_cast<MemoryFormObject*>(o.get());
    if (base::EqualsNoCase(sProperty, u"Mirrored")) return m->DrawsMirrored() ? u"1" : u"0";
    if (base::EqualsNoCase(sProperty, u"LeftAsDrawn")) return base::CStr(Variant(m->LeftAsDrawn()));
    if (base::EqualsNoCase(sProperty, u"RightAsDrawn")) {
      const platform::FormObjectRef container = uc_ && sPath.rfind(uc_->Name() + u".", 0) == 0 ? uc_ : frm_;
      const double dWidth = platform::PropertyNumber(o->GetProperty(u"Width"));
      return base::CStr(Variant(platform::PropertyNumber(container->GetProperty(u"Width")) - m->LeftAsDrawn() - dWidth));
    }
    return base::CStr(o->GetProperty(sProperty));
  }

 private:
  platform::FormObjectRef Resolve(const std::u16string& sPath) {
    if (sPath.empty()) return frm_;
    platform::FormObjectRef container = frm_;
    std::u16string sName = sPath;
    if (uc_ && sPath.rfind(uc_->Name(), 0) == 0) {
      if (sPath.size() == uc_->Name().size()) return uc_;
      container = uc_;
      sName = sPath.substr(uc_->Name().size() + 1);
    }
    const size_t nParen = sName.find(u'(');
    if (nParen == std::u16string::npos) return container->Controls()->Find(sName);
    const int32_t nIndex = std::stoi(base::ToUtf8(sName.substr(nParen + 1)));
    return container->Controls()->Find(sName.substr(0, nParen))->Element(nIndex);
  }

  platform::MemoryForms forms_;
  platform::FormObjectRef frm_;
  std::shared_ptr<MemoryFormObject> uc_;
};

}  // namespace

std::unique_ptr<IFormBuilder> MemoryFormBuilder(float fTwipsPerPixel) {
  return std::make_unique<MemoryBuilder>(fTwipsPerPixel);
}

}  // namespace testing_support
