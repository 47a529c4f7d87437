// A translation compared with its reference, section by section, for the
// sub-sections that the reference's main section lists: what a translator lost
// (sections, keys, placeholders, line breaks), what the reference does not have,
// what was left as it was, and a version section that claims the reference's
// identity.
#include <map>

#include "twinsweep/base/text.h"
#include "checks.h"
#include "plural_forms.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

std::u16string Number(int n) { return base::FromAscii(std::to_string(n)); }

const LoadedSection* FindSection(const LoadedLanguage& lang, const std::u16string& sName) {
  for (const LoadedSection& s : lang.sections)
    if (base::EqualsNoCase(s.sName, sName)) return &s;
  return nullptr;
}

// Letters outside placeholders and escapes: a text of digits, signs and blanks
// needs no translation.
bool HasLetters(const std::u16string& sText) {
  for (const Token& t : Tokenize(sText)) {
    if (t.kind != TokenKind::Char) continue;
    const char16_t c = sText[t.nPos];
    if (base::ToLowerChar(c) != base::ToUpperChar(c) || c >= 0x3040) return true;
  }
  return false;
}

// The key as the file writes it, for messages.
std::u16string Spelling(const LayoutSection* section, const std::u16string& sFoldedKey) {
  const LayoutEntry* e = section ? section->Find(sFoldedKey) : nullptr;
  return e ? e->sKey : sFoldedKey;
}

void CheckVersion(const CheckContext& ctx, const CheckedFile& reference) {
  const LoadedLanguage& lang = ctx.file.language;
  const LayoutSection* version = ctx.file.layout.Find(u"version");
  if (!lang.bHasVersion || !version) return;  // the engine has said so
  if (lang.sLang.empty()) {
    ctx.Add(version->nLine, ctx.file.layout.FirstColumn(version->nLine), Severity::Error,
            u"the version section has no lang, the language's name", "version");
  }
  if (!lang.sLangID.empty() && base::EqualsNoCase(lang.sLangID, reference.language.sLangID)) {
    const LayoutEntry* e = version->Find(u"langid");
    const int nLine = e ? e->nLine : version->nLine;
    ctx.Add(nLine, e ? e->nValueColumn : 1, Severity::Error,
            u"langid '" + lang.sLangID + u"' is the reference's; give the translation its own", "version");
  }
}

// refAt is the reference's entry: a "lngcheck: same" there holds for every
// translation. bPlaceholdersMatch: the placeholders agree (a plural form is
// held to the reference's forms, not to one text).
void CompareTexts(const CheckContext& ctx, const LoadedSection& section, const std::u16string& sKey,
                  const LayoutEntry* at, const LayoutEntry* refAt, const std::u16string& sRef,
                  const std::u16string& sText, bool bPlaceholdersMatch) {
  const int nLine = at ? at->nLine : 1;
  const int nColumn = at ? at->nValueColumn : 1;
  if (!bPlaceholdersMatch) {
    ctx.Add(nLine, nColumn, Severity::Error,
            u"expects " + PlaceholderSequence(sRef) + u", found " + PlaceholderSequence(sText), "format-mismatch");
  }
  const int nRefBreaks = LineBreakCount(sRef), nBreaks = LineBreakCount(sText);
  if (nRefBreaks != nBreaks) {
    ctx.Add(nLine, nColumn, Severity::Warning, u"expects " + Number(nRefBreaks) + u" \\n, found " + Number(nBreaks),
            "escape-mismatch");
  }
  const bool bSame = (at && at->bSame) || (refAt && refAt->bSame);
  if (sText == sRef && HasLetters(sText) && IsText(section, sKey) && !bSame) {
    ctx.Add(nLine, nColumn, Severity::Note, u"'" + sKey + u"' is the same as in the reference", "untranslated");
  }
}

// The reference's forms of a text with plural forms, by number; empty when the
// key is no form or its text has no form 0 in the reference.
std::map<int, const std::u16string*> ReferenceForms(const LoadedSection& ref, const std::u16string& sFoldedKey,
                                                    PluralKey* pKey) {
  std::map<int, const std::u16string*> forms;
  if (ref.bForm || !SplitPluralKey(sFoldedKey, pKey) || !ref.Find(FormKey(pKey->sBase, 0))) return forms;
  for (int k = 0; k < PluralRule::kMaxForms; ++k)
    if (const std::u16string* p = ref.Find(FormKey(pKey->sBase, k))) forms[k] = p;
  return forms;
}

void CompareSection(const CheckContext& ctx, const CheckedFile& reference, const LoadedSection& ref,
                    const LoadedSection& own, const FileRule& rule) {
  const LayoutSection* ownLayout = ctx.SubSection(ctx.file, own.sName);
  const LayoutSection* refLayout = ctx.SubSection(reference, ref.sName);
  const int nHeader = ownLayout ? ownLayout->nLine : 1;
  for (const auto& [sKey, sRef] : ref.entries) {
    PluralKey plural;
    if (!ReferenceForms(ref, sKey, &plural).empty()) {
      // The forms are compared from the translation's side, which has its own number of them.
      bool bAny = false;
      for (int k = 0; k < PluralRule::kMaxForms && !bAny; ++k) bAny = own.Find(FormKey(plural.sBase, k)) != nullptr;
      if (plural.nForm == 0 && !bAny) {
        ctx.Add(nHeader, ctx.file.layout.FirstColumn(nHeader), Severity::Error,
                u"key '" + Spelling(refLayout, sKey).substr(0, plural.sBase.size()) +
                    u"' (plural forms) of the reference is missing in [" + ctx.sMainSection + u"." + own.sName + u"]",
                "missing-key");
      }
      continue;
    }
    const std::u16string* pText = own.Find(sKey);
    if (!pText) {
      ctx.Add(nHeader, ctx.file.layout.FirstColumn(nHeader), Severity::Error,
              u"key '" + Spelling(refLayout, sKey) + u"' of the reference is missing in [" + ctx.sMainSection + u"." +
                  own.sName + u"]",
              "missing-key");
      continue;
    }
    CompareTexts(ctx, own, Spelling(ownLayout, sKey), ownLayout ? ownLayout->Find(sKey) : nullptr,
                 refLayout ? refLayout->Find(sKey) : nullptr, sRef, *pText, SamePlaceholders(sRef, *pText));
  }
  for (const auto& [sKey, sText] : own.entries) {
    const LayoutEntry* at = ownLayout ? ownLayout->Find(sKey) : nullptr;
    PluralKey plural;
    const std::map<int, const std::u16string*> forms = ReferenceForms(ref, sKey, &plural);
    if (!forms.empty()) {
      // Each form against the reference's general form; the reference's own
      // form of that number, when it has one, for the rest.
      const std::u16string& sFirst = *forms.begin()->second;
      const std::u16string& sLast = *forms.rbegin()->second;
      auto same = forms.find(plural.nForm);
      const std::u16string& sRef = same != forms.end() ? *same->second : sLast;
      const bool bMatch = FormMatches(rule, plural.nForm, sText, sFirst, sLast);
      CompareTexts(ctx, own, Spelling(ownLayout, sKey), at, refLayout ? refLayout->Find(sKey) : nullptr,
                   bMatch ? sRef : sLast, sText, bMatch);
      continue;
    }
    if (ref.Find(sKey)) continue;
    ctx.Add(at ? at->nLine : nHeader, at ? at->nKeyColumn : 1, Severity::Warning,
            u"key '" + Spelling(ownLayout, sKey) + u"' is not in the reference", "extra-key");
  }
}

}  // namespace

void CompareWithReference(const CheckContext& ctx, const CheckedFile& reference) {
  CheckVersion(ctx, reference);
  const LoadedLanguage& lang = ctx.file.language;
  if (!lang.bHasMain) return;  // the engine has said so
  const FileRule rule = RuleOf(lang.sPlural);
  for (const LoadedSection& ref : reference.language.sections) {
    const std::u16string sFull = u"[" + ctx.sMainSection + u"." + ref.sName + u"]";
    const LoadedSection* own = FindSection(lang, ref.sName);
    if (!own) {
      const int nLine = ctx.MainEntryLine(ref.bForm ? u"forms" : u"globals");
      ctx.Add(nLine, ctx.file.layout.FirstColumn(nLine), Severity::Error,
              u"section " + sFull + u" of the reference is not listed in " + (ref.bForm ? u"forms" : u"globals"),
              "missing-section");
    } else if (!own->bRead) {
      const int nLine = ctx.ListingLine(own->sName);
      ctx.Add(nLine, ctx.file.layout.FirstColumn(nLine), Severity::Error,
              u"section " + sFull + u" of the reference is missing", "missing-section");
    } else if (ref.bRead) {
      CompareSection(ctx, reference, ref, *own, rule);
    }
  }
  for (const LoadedSection& own : lang.sections) {
    if (FindSection(reference.language, own.sName)) continue;
    const int nLine = ctx.ListingLine(own.sName);
    ctx.Add(nLine, ctx.file.layout.FirstColumn(nLine), Severity::Warning,
            u"section [" + ctx.sMainSection + u"." + own.sName + u"] is not in the reference", "extra-section");
  }
}

}  // namespace lngcheck
