// --from-po: a translation written from a PO file, laid out as its reference.
//
// The file is the reference's lines, section by section and entry by entry, each
// entry with the comment and blank lines above it. A message's entry gets the
// PO's text (the reference's when the message is untranslated or fuzzy, as the
// gettext tools do); langid gets the PO header's ("X-Lng-LangID", else
// "Language"), lang the header's "X-Lng-Lang", else --lang, else the language's
// own name; a new file's heading names its language instead of the reference's.
// With a base, an entry that the base has is written as the base writes it (its
// own comments above it, its layout value, its spacing and comment), the base's
// heading and section headers are kept, and the base's own layout entries (a
// "cmdOK.dleft" of a longer word) follow the reference's entries of their
// section. The base's texts that the reference no longer has, and its sections
// that the reference lacks, are left out.
#include <algorithm>
#include <unordered_map>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "language_names.h"
#include "po.h"
#include "po_file.h"
#include "plural_forms.h"
#include "po_text.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

struct Block {
  std::vector<int> above;  // comment and blank lines right above the entry
  const LayoutEntry* entry;
};

struct SectionLines {
  const LayoutSection* layout;
  std::vector<Block> blocks;
  std::vector<int> trailing;                           // after the last entry, up to the next header
  std::unordered_map<std::u16string, size_t> firstOf;  // folded key -> its block

  const Block* Find(const std::u16string& sKey) const {
    auto it = firstOf.find(base::LCase(sKey));
    return it == firstOf.end() ? nullptr : &blocks[it->second];
  }
};

std::vector<SectionLines> Group(const CheckedFile& f) {
  const std::vector<LayoutSection>& sections = f.layout.Sections();
  const int nLines = static_cast<int>(f.source.Lines().size());
  std::vector<SectionLines> r;
  for (size_t k = 0; k < sections.size(); ++k) {
    SectionLines s{&sections[k], {}, {}, {}};
    const int nEnd = k + 1 < sections.size() ? sections[k + 1].nLine : nLines + 1;
    size_t nEntry = 0;
    std::vector<int> pending;
    for (int n = sections[k].nLine + 1; n < nEnd; ++n) {
      const std::vector<LayoutEntry>& entries = sections[k].entries;
      if (nEntry < entries.size() && entries[nEntry].nLine == n) {
        s.firstOf.emplace(base::LCase(entries[nEntry].sKey), s.blocks.size());
        s.blocks.push_back({std::move(pending), &entries[nEntry++]});
        pending.clear();
      } else {
        pending.push_back(n);
      }
    }
    s.trailing = std::move(pending);
    r.push_back(std::move(s));
  }
  return r;
}

// The entry's line with its value replaced.
std::u16string WithValue(const CheckedFile& f, const LayoutEntry& e, const std::u16string& sText) {
  const std::u16string& s = f.source.Line(e.nLine)->sText;
  return WithQuotedValue(s, e.nValueBegin, e.nValueEnd, sText);
}

std::string Field(const PoFile& po, const char* szName) {
  auto it = po.fields.find(szName);
  return it == po.fields.end() ? std::string() : it->second;
}

// A "%" that starts no placeholder, in a text that the program formats.
bool HasBadPercent(const std::u16string& sText) {
  if (!TakesValues(sText)) return false;
  for (const Token& t : Tokenize(sText))
    if (t.kind == TokenKind::BadPercent) return true;
  return false;
}

bool EndsWithLineEnd(const SourceFile& f) {
  const std::string& s = f.Bytes();
  return s.size() > 3 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

}  // namespace

bool FromPo(const std::string& sPoName, const std::string& sPoBytes, const CheckedFile& reference,
            const CheckedFile* base, const std::u16string& sMainSection, const std::u16string& sLangName,
            std::string* psOut, std::string* psErrors, std::string* psNotes) {
  PoFile po;
  std::string sWhy;
  if (!ParsePo(sPoBytes, &po, &sWhy)) {
    const size_t nColon = sWhy.find(": ");
    *psErrors += sPoName + ":" + sWhy.substr(0, nColon) + ":1: error:" + sWhy.substr(nColon + 1) + " [po]\n";
    return false;
  }
  auto error = [&](int nLine, const std::string& sMessage, const char* szCheck) {
    *psErrors += sPoName + ":" + std::to_string(nLine) + ":1: error: " + sMessage + " [" + szCheck + "]\n";
  };
  auto note = [&](int nLine, const std::string& sMessage) {
    *psNotes += sPoName + ":" + std::to_string(nLine) + ":1: note: " + sMessage + "\n";
  };

  // The texts, by the entry they replace.
  std::unordered_map<std::u16string, const PoMessage*> byContext;
  for (const PoMessage& m : po.messages) {
    if (m.bHasContext) byContext.emplace(m.sContext, &m);
  }
  std::unordered_map<const LayoutEntry*, std::u16string> texts;
  // The forms of each text with plural forms, by the entry of its form 0; as
  // many as the PO's Plural-Forms has.
  std::unordered_map<const LayoutEntry*, std::vector<std::u16string>> pluralTexts;
  std::unordered_map<const LayoutEntry*, bool> laterForms;  // the reference's forms 1 and on
  const std::string sPluralForms = Field(po, "Plural-Forms");
  const FileRule poRule = RuleOf(base::FromUtf8(sPluralForms));
  std::unordered_map<std::u16string, bool> known;  // the reference's contexts
  int nUntranslated = 0;
  // A translated text's checks against the reference's text sRef.
  auto checkText = [&](const PoMessage& p, const std::u16string& sName, const std::u16string& sText,
                       const std::u16string& sRef, bool bForm, bool bPlaceholdersMatch) {
    if (!bPlaceholdersMatch) {
      error(p.nLine,
            base::ToUtf8(sName + u": expects " + PlaceholderSequence(sRef) + u", found " + PlaceholderSequence(sText)),
            "format-mismatch");
    }
    // "(100%)" for "(100%%)": the placeholders agree, but the program drops the "%".
    if (!bForm && HasBadPercent(sText) && !HasBadPercent(sRef)) {
      error(p.nLine, base::ToUtf8(sName) + ": '%' starts no placeholder; write %% for a percent sign", "bad-percent");
    }
  };
  for (const Message& m : Messages(reference, sMainSection)) {
    known[m.sContext] = true;
    auto it = byContext.find(m.sContext);
    const PoMessage* p = it == byContext.end() ? nullptr : it->second;
    if (!m.forms.empty()) {
      for (size_t k = 1; k < m.forms.size(); ++k) laterForms[m.forms[k]] = true;
      std::vector<std::u16string>& forms = pluralTexts[m.entry];
      bool bTranslated = p && !p->bFuzzy;
      for (const std::u16string& sForm : p ? p->forms : std::vector<std::u16string>{})
        bTranslated = bTranslated && !sForm.empty();
      if (bTranslated && !p->bPlural) {
        error(p->nLine, base::ToUtf8(m.sContext) + ": the text has plural forms; give msgid_plural and msgstr[N]",
              "plural-forms");
      } else if (bTranslated && static_cast<int>(p->forms.size()) != poRule.rule.Forms()) {
        error(p->nLine,
              base::ToUtf8(m.sContext) + ": " + std::to_string(p->forms.size()) + " msgstr[N], the Plural-Forms " +
                  std::to_string(poRule.rule.Forms()),
              "plural-forms");
      }
      if (!bTranslated) {
        ++nUntranslated;
        for (int k = 0; k < poRule.rule.Forms(); ++k)
          forms.push_back(m.formTexts[std::min(static_cast<size_t>(k), m.formTexts.size() - 1)]);
        continue;
      }
      for (size_t k = 0; k < p->forms.size(); ++k) {
        forms.push_back(PoTextToLng(p->forms[k]));
        const int nForm = static_cast<int>(k);
        const bool bMatch = FormMatches(poRule, nForm, forms.back(), m.formTexts.front(), m.formTexts.back());
        checkText(*p, m.sContext + u"[" + base::FromAscii(std::to_string(k)) + u"]", forms.back(), m.formTexts.back(),
                  false, bMatch);
      }
      if (p->sId != LngToPoText(m.sText)) {
        note(p->nLine,
             base::ToUtf8(m.sContext) + ": the reference's text is no longer the msgid; the translation is taken");
      }
      continue;
    }
    if (!p || p->bFuzzy || p->sStr.empty()) {
      ++nUntranslated;
      texts[m.entry] = m.sText;
      continue;
    }
    const std::u16string sText = PoTextToLng(p->sStr);
    checkText(*p, m.sContext, sText, m.sText, m.bForm, SamePlaceholders(m.sText, sText));
    if (p->sId != LngToPoText(m.sText)) {
      note(p->nLine,
           base::ToUtf8(m.sContext) + ": the reference's text is no longer the msgid; the translation is taken");
    }
    texts[m.entry] = sText;
  }
  for (const PoMessage& m : po.messages) {
    if (!m.bHasContext || !known.count(m.sContext)) {
      note(m.nLine, base::ToUtf8(m.sContext) + ": not in the reference; left out");
    }
  }
  if (nUntranslated) {
    note(1, std::to_string(nUntranslated) + " message(s) untranslated or fuzzy: the reference's text is written");
  }

  // The version section's language: the PO tools' "Language" is enough.
  const std::string sLanguage = Field(po, "Language");
  std::u16string sLangID = base::FromUtf8(Field(po, "X-Lng-LangID")), sLang = base::FromUtf8(Field(po, "X-Lng-Lang"));
  if (sLangID.empty()) sLangID = base::Replace(base::UCase(base::FromUtf8(sLanguage)), u"_", u"-");
  if (sLang.empty()) sLang = sLangName;
  // A base keeps its own name unless the translator gives one.
  if (sLang.empty() && !base) sLang = OwnLanguageName(sLanguage);
  if (!base && sLangID.empty())
    error(1, "the header names no language: give \"Language\" (and \"X-Lng-LangID\")", "po");
  if (!base && sLang.empty()) {
    error(1,
          (sLanguage.empty() ? std::string("the language has no name")
                             : "no name is known for the language \"" + sLanguage + "\"") +
              ": give it as --lang NAME, as the language's speakers write it",
          "po");
  }
  if (!psErrors->empty()) return false;

  std::vector<SectionLines> baseSections;
  std::unordered_map<std::u16string, const SectionLines*> baseByName;
  if (base) {
    baseSections = Group(*base);
    for (const SectionLines& s : baseSections) baseByName.emplace(base::LCase(s.layout->sName), &s);
  }
  std::unordered_map<std::u16string, const LoadedSection*> listed;
  for (const LoadedSection& loaded : reference.language.sections)
    listed.emplace(base::LCase(sMainSection + u"." + loaded.sName), &loaded);

  std::vector<std::u16string> lines;
  auto copy = [&](const CheckedFile& f, const std::vector<int>& numbers) {
    for (int n : numbers) lines.push_back(f.source.Line(n)->sText);
  };
  // A new file's heading, the reference's as a rule, names the new language.
  const std::u16string& sRefLang = reference.language.sLang;
  auto heading = [&](const std::u16string& sLine) {
    return base || sRefLang.empty() ? sLine : base::Replace(sLine, sRefLang, sLang);
  };
  // The forms of a text, each from the base's entry of that form when it has
  // one, else the reference's, else the reference's last form renamed.
  auto writeForms = [&](const SectionLines& rs, const SectionLines* bs, const LayoutEntry& first,
                        const std::vector<std::u16string>& forms) {
    const std::u16string sBase = first.sKey.substr(0, first.sKey.rfind(u'['));
    const Block* last = nullptr;
    for (size_t k = 0; k < forms.size(); ++k) {
      const std::u16string sKey = FormKey(sBase, static_cast<int>(k));
      const Block* bb = bs ? bs->Find(sKey) : nullptr;
      const Block* rb = rs.Find(sKey);
      if (rb) last = rb;
      if (bb && bb->entry->bQuoted) {
        copy(*base, bb->above);
        lines.push_back(WithValue(*base, *bb->entry, forms[k]));
      } else if (rb) {
        copy(reference, rb->above);
        lines.push_back(WithValue(reference, *rb->entry, forms[k]));
      } else {
        std::u16string sLine = WithValue(reference, *last->entry, forms[k]);
        const size_t nAt = sLine.find(last->entry->sKey);
        lines.push_back(sLine.replace(nAt, last->entry->sKey.size(), sKey));
      }
    }
  };
  if (!po.headerComments.empty()) {
    // An editor's own header comment becomes a comment of the language file.
    for (const std::string& s : po.headerComments) {
      const std::u16string sLine = heading(base::FromUtf8(s)), sTrimmed(TrimBlanksView(sLine));
      lines.push_back(sTrimmed.empty() || sTrimmed[0] == u';' || sTrimmed[0] == u'\'' ? sLine : u"; " + sLine);
    }
  } else {
    for (const std::u16string& s : Heading(base ? *base : reference)) lines.push_back(heading(s));
  }
  for (const SectionLines& rs : Group(reference)) {
    const LayoutSection& section = *rs.layout;
    const std::u16string sFolded = base::LCase(section.sName);
    auto itBase = baseByName.find(sFolded);
    const SectionLines* bs = itBase == baseByName.end() ? nullptr : itBase->second;
    if (reference.layout.Find(section.sName) != &section) bs = nullptr;  // a repeated section is never read
    lines.push_back((bs ? *base : reference).source.Line((bs ? bs->layout : &section)->nLine)->sText);
    const bool bVersion = sFolded == u"version";
    bool bPluralWritten = false;
    for (const Block& block : rs.blocks) {
      const LayoutEntry& e = *block.entry;
      if (laterForms.count(&e)) continue;  // written with form 0
      auto itForms = pluralTexts.find(&e);
      if (itForms != pluralTexts.end()) {
        writeForms(rs, bs, e, itForms->second);
        continue;
      }
      const Block* bb = bs && section.Find(e.sKey) == &e ? bs->Find(e.sKey) : nullptr;
      copy(bb ? *base : reference, bb ? bb->above : block.above);
      // The line the entry is written from, and where its value stands there.
      const bool bFromBase = bb && bb->entry->bQuoted;
      const CheckedFile& from = bFromBase ? *base : reference;
      const LayoutEntry& at = bFromBase ? *bb->entry : e;
      auto itText = texts.find(&e);
      const std::u16string sKey = base::LCase(e.sKey);
      if (itText != texts.end()) {
        lines.push_back(WithValue(from, at, itText->second));
      } else if (bVersion && sKey == u"langid" && !sLangID.empty() && at.bQuoted) {
        lines.push_back(WithValue(from, at, sLangID));
      } else if (bVersion && sKey == u"lang" && !sLang.empty() && at.bQuoted) {
        lines.push_back(WithValue(from, at, sLang));
      } else if (bVersion && sKey == u"plural" && !sPluralForms.empty() && at.bQuoted) {
        lines.push_back(WithValue(from, at, base::FromUtf8(sPluralForms)));
        bPluralWritten = true;
      } else {
        lines.push_back((bb ? *base : reference).source.Line((bb ? bb->entry : &e)->nLine)->sText);
      }
    }
    if (bs) {
      auto itListed = listed.find(sFolded);
      for (const Block& block : bs->blocks) {
        const LayoutEntry& e = *block.entry;
        if (section.Find(e.sKey) || bs->Find(e.sKey) != &block) continue;
        if (itListed != listed.end() && IsText(*itListed->second, e.sKey)) continue;
        copy(*base, block.above);
        const bool bPlural = bVersion && base::LCase(e.sKey) == u"plural";
        bPluralWritten = bPluralWritten || bPlural;
        lines.push_back(bPlural && !sPluralForms.empty() && e.bQuoted
                            ? WithValue(*base, e, base::FromUtf8(sPluralForms))
                            : base->source.Line(e.nLine)->sText);
      }
    }
    // A language that is not English in its plurals gets the PO's rule.
    if (bVersion && !bPluralWritten && poRule.bRead && sPluralForms != kEnglishPluralForms) {
      lines.push_back(u"plural    = \"" + DoubleQuotes(base::FromUtf8(sPluralForms)) + u"\"");
    }
    copy(bs ? *base : reference, bs ? bs->trailing : rs.trailing);
  }

  std::string sBody;
  bool bAscii = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    sBody += base::ToUtf8(lines[i]);
    if (i + 1 < lines.size() || EndsWithLineEnd((base ? *base : reference).source)) sBody += "\r\n";
  }
  for (char c : sBody) bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
  // Plain ASCII reads the same with the mark and without: a base without it
  // (an English file) keeps its form.
  const bool bMark = !bAscii || !base || base->source.SavedAs() != Encoding::Ascii;
  *psOut += (bMark ? "\xEF\xBB\xBF" : "") + sBody;
  return true;
}

}  // namespace lngcheck
