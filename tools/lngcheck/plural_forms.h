#pragma once
// Plural forms in a language file: the texts KEY[0], KEY[1], ... of a global
// sub-section, the file's rule (the plural entry of [version], gettext's
// Plural-Forms, read as the program reads it) and gettext's count of forms for
// a language.
#include <string>
#include <vector>

#include "twinsweep/lang/plural_rule.h"

using namespace twinsweep;

namespace lngcheck {

struct PluralKey {
  std::u16string sBase;
  int nForm = 0;
};
// "LID_DAYS[2]" as ("LID_DAYS", 2); false for any other key.
bool SplitPluralKey(const std::u16string& sKey, PluralKey* pKey);
std::u16string FormKey(const std::u16string& sBase, int nForm);

// A file's rule: English when the file has none or one the program cannot read.
struct FileRule {
  PluralRule rule;
  bool bRead = false;        // from the file's plural entry
  std::vector<bool> single;  // by form: it serves one count only ("1 file" needs no %d)
};
FileRule RuleOf(const std::u16string& sPlural);

// The number of forms gettext's table gives the language of the id ("RU",
// "pt-BR"), 0 when the table does not know it.
int GettextForms(const std::u16string& sLangID);

// Whether the form nForm of a translation takes the reference's parameters:
// those of the reference's last form, the general one, or for a form that
// serves one count only, those of the reference's form 0 as well.
bool FormMatches(const FileRule& rule, int nForm, const std::u16string& sText, const std::u16string& sRefFirst,
                 const std::u16string& sRefLast);

}  // namespace lngcheck
