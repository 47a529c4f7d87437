#pragma once
// What the form fuzz targets share: forms built from the fuzzer's bytes (controls
// of every type, control arrays, a user control), and a language file's fixed
// head naming their sections.
#include <memory>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "support/lang_file.h"
#include "twinsweep/platform/memory/memory_forms.h"

using namespace twinsweep;

namespace fuzz_support {

constexpr char16_t kAppFolder[] = u"C:\\App";
constexpr char16_t kLanguageFile[] = u"C:\\App\\fuzz.lng";

struct ControlDesign {
  std::u16string sType;
  std::u16string sName;
  int32_t nIndex = -1;  // -1: not an element of a control array
  std::u16string sCaption;
  std::u16string sToolTip;
  int32_t anGeometry[4] = {0, 0, 0, 0};
};

inline const std::u16string& ControlType(uint8_t n) {
  static const std::u16string types[] = {u"CommandButton", u"OptionButton", u"CheckBox", u"Label",    u"Frame",
                                         u"TextBox",       u"PictureBox",   u"Image",    u"Line"};
  return types[n % 9];
}

// Up to eight controls; names come from a small set so that arrays and clashes occur.
inline std::vector<ControlDesign> ReadControls(FuzzInput& in, size_t nMaxText) {
  std::vector<ControlDesign> designs;
  const int nCount = in.Byte() % 9;
  for (int i = 0; i < nCount; ++i) {
    ControlDesign c;
    const uint8_t nKind = in.Byte();
    c.sType = ControlType(nKind);
    c.sName = u"ctl" + std::u16string(1, static_cast<char16_t>(u'A' + (nKind >> 4) % 6));
    if (nKind & 0x80) c.nIndex = in.Byte() % 4;
    c.sCaption = in.Text(nMaxText);
    c.sToolTip = in.Text(nMaxText);
    for (int32_t& g : c.anGeometry) g = static_cast<int16_t>(in.U32());
    designs.push_back(c);
  }
  return designs;
}

// Adds the controls that the container takes (a clash of name or index is skipped)
// and answers those it took.
inline std::vector<std::pair<ControlDesign, std::shared_ptr<platform::MemoryFormObject>>> AddControls(
    platform::MemoryFormObject& container, const std::vector<ControlDesign>& designs, bool bWithTexts) {
  std::vector<std::pair<ControlDesign, std::shared_ptr<platform::MemoryFormObject>>> out;
  for (const ControlDesign& c : designs) {
    std::shared_ptr<platform::MemoryFormObject> o;
    try {
      o = c.nIndex < 0 ? container.AddControl(c.sType, c.sName) : container.AddControl(c.sType, c.sName, c.nIndex);
    } catch (...) {
      continue;
    }
    if (bWithTexts) {
      static const char16_t* const kGeometry[] = {u"Left", u"Top", u"Width", u"Height"};
      static const char16_t* const kLine[] = {u"X1", u"Y1", u"X2", u"Y2"};
      for (int k = 0; k < 4; ++k) {
        // A window has no negative size; a line's ends may lie anywhere.
        const bool bSize = c.sType != u"Line" && k >= 2;
        const int32_t n = bSize && c.anGeometry[k] < 0 ? -c.anGeometry[k] : c.anGeometry[k];
        o->SetProperty(c.sType == u"Line" ? kLine[k] : kGeometry[k], base::Variant(n));
      }
      try {
        o->SetProperty(u"Caption", base::Variant(c.sCaption));
      } catch (...) {
      }
      try {
        o->SetProperty(u"ToolTipText", base::Variant(c.sToolTip));
      } catch (...) {
      }
    }
    out.emplace_back(c, o);
  }
  return out;
}

// The head of a language file whose main section "Main" lists the sections of
// sForms ("frmFuzz,ucFuzz"), with the given dump mode.
inline std::string LanguageFileHead(const std::string& sForms, int nDumpForms) {
  return testing_support::LangFile(
      "FZ", {"[Main]", "forms = \"" + sForms + "\"", "dumpforms = \"" + std::to_string(nDumpForms) + "\""},
      testing_support::kLangSignature, {"Fuzz"});
}

}  // namespace fuzz_support
