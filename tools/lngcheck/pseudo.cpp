#include "pseudo.h"

#include <map>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// Accents that the Western ANSI code page also has, so that the pseudo texts
// survive where the program shows them through the ANSI functions.
char16_t Accent(char16_t c) {
  static const std::u16string kPlain = u"acdeinosuyzACDEINOSUYZ";
  static const std::u16string kAccented = u"áçðëîñöšüýžÅÇÐÉÎÑÖŠÛÝŽ";
  size_t n = kPlain.find(c);
  return n == std::u16string::npos ? c : kAccented[n];
}

}  // namespace

std::u16string PseudoText(const std::u16string& sText) {
  if (sText.empty()) return sText;
  std::u16string r = u"[";
  size_t nShown = 0;
  for (const Token& t : Tokenize(sText)) {
    r += t.kind == TokenKind::Char ? std::u16string(1, Accent(sText[t.nPos])) : sText.substr(t.nPos, t.nLen);
    ++nShown;
  }
  r.append((nShown * 3 + 9) / 10, u'\u00B7');
  return r + u"]";
}

std::string PseudoFile(const CheckedFile& reference, const std::u16string& sMainSection, bool bMirrored) {
  // The new value of each entry that changes, by line.
  std::map<int, std::pair<const LayoutEntry*, std::u16string>> changes;
  const std::vector<SourceLine>& lines = reference.source.Lines();
  if (const LayoutSection* version = reference.layout.Find(u"version")) {
    for (const LayoutEntry& e : version->entries) {
      if (base::EqualsNoCase(e.sKey, u"lang")) changes[e.nLine] = {&e, bMirrored ? u"Pseudo mirrored" : u"Pseudo"};
      if (base::EqualsNoCase(e.sKey, u"langid")) changes[e.nLine] = {&e, bMirrored ? u"XM" : u"XX"};
      if (base::EqualsNoCase(e.sKey, u"direction") && bMirrored) changes[e.nLine] = {&e, u"rtl"};
    }
  }
  // A mirrored file says its direction: after langid, unless the reference says one.
  const LayoutSection* version = reference.layout.Find(u"version");
  const LayoutEntry* pLangID = version ? version->Find(u"langid") : nullptr;
  const bool bAddDirection = bMirrored && pLangID && !version->Find(u"direction");
  for (const LoadedSection& loaded : reference.language.sections) {
    const LayoutSection* section = reference.layout.Find(sMainSection + u"." + loaded.sName);
    if (!section) continue;
    for (const LayoutEntry& e : section->entries) {
      if (!IsText(loaded, e.sKey)) continue;
      changes[e.nLine] = {&e, PseudoText(EntryText(reference.source, e))};
    }
  }
  std::string sOut = "\xEF\xBB\xBF";
  int nLine = 0;
  for (const SourceLine& line : lines) {
    std::u16string s = line.sText;
    auto it = changes.find(++nLine);
    if (it != changes.end() && it->second.first->bQuoted) {
      const LayoutEntry& e = *it->second.first;
      s = WithQuotedValue(s, e.nValueBegin, e.nValueEnd, it->second.second);
    }
    sOut += base::ToUtf8(s) + "\r\n";
    if (bAddDirection && nLine == pLangID->nLine) sOut += "direction = \"rtl\"\r\n";
  }
  return sOut;
}

}  // namespace lngcheck
