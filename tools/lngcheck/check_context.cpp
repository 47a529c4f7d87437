#include "checks.h"

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"

using namespace twinsweep;

namespace lngcheck {

void CheckContext::Add(int nLine, int nColumn, Severity severity, const std::u16string& sMessage,
                       const char* szCheck) const {
  findings.Add({file.sDisplayName, nLine, nColumn, severity, base::ToUtf8(sMessage), szCheck});
}

const LayoutSection* CheckContext::SubSection(const CheckedFile& f, const std::u16string& sName) const {
  return f.layout.Find(sMainSection + u"." + sName);
}

bool IsText(const LoadedSection& section, const std::u16string& sKey) {
  if (!section.bForm) return true;
  size_t nDot = sKey.find(u'.');
  if (nDot == std::u16string::npos) return true;  // a control alone means its caption
  const std::u16string sProperty = base::LCase(sKey.substr(nDot + 1));
  return sProperty == u"caption" || sProperty == u"tooltiptext";
}

int CheckContext::MainEntryLine(const std::u16string& sKey) const {
  const LayoutSection* main = file.layout.Find(sMainSection);
  if (!main) return 1;
  const LayoutEntry* entry = main->Find(sKey);
  return entry ? entry->nLine : main->nLine;
}

int CheckContext::ListingLine(const std::u16string& sName) const {
  const LayoutSection* main = file.layout.Find(sMainSection);
  for (const char16_t* szList : {u"globals", u"forms"}) {
    const LayoutEntry* entry = main ? main->Find(szList) : nullptr;
    if (!entry || !entry->bQuoted) continue;
    const std::u16string& sLine = file.source.Line(entry->nLine)->sText;
    std::u16string sList = sLine.substr(entry->nValueBegin, entry->nValueEnd - entry->nValueBegin);
    for (const std::u16string& sPiece : base::Split(sList, u",")) {
      if (base::EqualsNoCase(TrimBlanksView(sPiece), sName)) return entry->nLine;
    }
  }
  return MainEntryLine(u"globals");
}

}  // namespace lngcheck
