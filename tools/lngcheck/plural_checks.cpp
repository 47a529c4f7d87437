// The plural forms of one file against its own rule, and its rule against
// gettext's table of languages.
#include <map>

#include "twinsweep/base/text.h"
#include "checks.h"
#include "plural_forms.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

std::u16string Number(int n) { return base::FromAscii(std::to_string(n)); }

}  // namespace

void CheckPlurals(const CheckContext& ctx) {
  const LoadedLanguage& lang = ctx.file.language;
  const FileRule rule = RuleOf(lang.sPlural);
  const int nForms = rule.rule.Forms();
  bool bHasForms = false;
  for (const LoadedSection& loaded : lang.sections) {
    const LayoutSection* section = ctx.SubSection(ctx.file, loaded.sName);
    if (loaded.bForm || !section) continue;
    struct Group {
      const LayoutEntry* first;
      std::u16string sBase;
      std::map<int, bool> forms;
    };
    std::map<std::u16string, Group> groups;  // by folded base
    std::vector<std::u16string> order;
    for (const LayoutEntry& e : section->entries) {
      PluralKey key;
      if (!SplitPluralKey(e.sKey, &key)) continue;
      auto [it, bNew] = groups.emplace(base::LCase(key.sBase), Group{&e, key.sBase, {}});
      if (bNew) order.push_back(it->first);
      it->second.forms[key.nForm] = true;
    }
    bHasForms = bHasForms || !groups.empty();
    for (const std::u16string& sFolded : order) {
      const Group& g = groups[sFolded];
      bool bExact = static_cast<int>(g.forms.size()) == nForms;
      std::u16string sList;
      for (const auto& form : g.forms) {
        bExact = bExact && form.first < nForms;
        sList += (sList.empty() ? u"[" : u", [") + Number(form.first) + u"]";
      }
      if (bExact) continue;
      ctx.Add(g.first->nLine, g.first->nKeyColumn, Severity::Error,
              u"'" + g.sBase + u"' has the plural forms " + sList + u"; the plural rule has " + Number(nForms) +
                  u": [0] to [" + Number(nForms - 1) + u"]",
              "plural-forms");
    }
  }
  // A file without plural texts has no use for its rule.
  const int nGettext = GettextForms(lang.sLangID);
  if ((!bHasForms && lang.sPlural.empty()) || nGettext == 0 || nGettext == nForms) return;
  const LayoutSection* version = ctx.file.layout.Find(u"version");
  const LayoutEntry* at = version ? version->Find(u"plural") : nullptr;
  const int nLine = at ? at->nLine : version ? version->nLine : 1;
  ctx.Add(nLine, at ? at->nValueColumn : ctx.file.layout.FirstColumn(nLine), Severity::Warning,
          u"the plural rule has " + Number(nForms) + u" form(s); gettext's table gives " + lang.sLangID + u" " +
              Number(nGettext) + (at ? u"" : u" (no plural entry: English, 2 forms)"),
          "plural-count");
}

}  // namespace lngcheck
