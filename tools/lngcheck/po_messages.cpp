// The messages of a reference and the heading of a file, for both directions of
// the PO round trip.
#include <unordered_map>

#include "twinsweep/base/text.h"
#include "plural_forms.h"
#include "po.h"

using namespace twinsweep;

namespace lngcheck {

std::vector<Message> Messages(const CheckedFile& reference, const std::u16string& sMainSection) {
  std::unordered_map<std::u16string, const LoadedSection*> listed;  // by folded full name
  for (const LoadedSection& loaded : reference.language.sections)
    listed.emplace(base::LCase(sMainSection + u"." + loaded.sName), &loaded);
  std::vector<Message> r;
  for (const LayoutSection& section : reference.layout.Sections()) {
    auto it = listed.find(base::LCase(section.sName));
    // Only the first section of a name is read, and only the first entry of a key.
    if (it == listed.end() || reference.layout.Find(section.sName) != &section) continue;
    for (const LayoutEntry& e : section.entries) {
      if (!e.bQuoted || section.Find(e.sKey) != &e || !IsText(*it->second, e.sKey)) continue;
      std::u16string sText = EntryText(reference.source, e);
      if (sText.empty()) continue;
      PluralKey plural;
      if (!it->second->bForm && SplitPluralKey(e.sKey, &plural) && section.Find(FormKey(plural.sBase, 0))) {
        if (plural.nForm != 0) continue;  // a message with its form 0
        Message m{&section, &e, u"[" + section.sName + u"] " + plural.sBase, sText, false, {}, {}};
        for (int k = 0; k < PluralRule::kMaxForms; ++k) {
          const LayoutEntry* f = section.Find(FormKey(plural.sBase, k));
          if (!f || !f->bQuoted) break;
          m.forms.push_back(f);
          m.formTexts.push_back(EntryText(reference.source, *f));
        }
        r.push_back(std::move(m));
        continue;
      }
      r.push_back({&section, &e, u"[" + section.sName + u"] " + e.sKey, std::move(sText), it->second->bForm, {}, {}});
    }
  }
  return r;
}

std::vector<std::u16string> Heading(const CheckedFile& file) {
  const int nFirst = file.layout.Sections().empty() ? static_cast<int>(file.source.Lines().size()) + 1
                                                    : file.layout.Sections().front().nLine;
  std::vector<std::u16string> r;
  for (int n = 1; n < nFirst; ++n) r.push_back(file.source.Line(n)->sText);
  return r;
}

}  // namespace lngcheck
