// --to-po: the messages of a reference, with a translation's texts.
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "plural_forms.h"
#include "po.h"
#include "po_text.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

bool IsCommentLine(const std::u16string& s) {
  const std::u16string_view t = TrimBlanksView(s);
  return !t.empty() && IsCommentStart(t[0]);
}

// A comment's text without its ";" or "'" and the blanks around it.
std::string CommentText(const std::u16string& s) { return base::ToUtf8(TrimBlanksView(TrimBlanksView(s).substr(1))); }

// The comment lines right above the entry and the comment on its line, for the
// translator.
std::vector<std::string> EntryComments(const CheckedFile& file, const LayoutEntry& e) {
  std::vector<std::string> r;
  int n = e.nLine - 1;
  while (n >= 1 && IsCommentLine(file.source.Line(n)->sText)) --n;
  for (int k = n + 1; k < e.nLine; ++k) r.push_back(CommentText(file.source.Line(k)->sText));
  if (e.bQuoted) {
    const std::u16string& s = file.source.Line(e.nLine)->sText;
    const std::u16string sAfter(TrimBlanksView(std::u16string_view(s).substr(e.nValueEnd + 1)));
    if (!sAfter.empty() && IsCommentStart(sAfter[0])) r.push_back(CommentText(sAfter));
  }
  return r;
}

// "de" for "DE", "pt_BR" for "PT-BR": the form the PO tools expect.
std::string PoLanguage(const std::u16string& sLangID) {
  std::string r;
  bool bRegion = false;
  for (char16_t c : sLangID) {
    if (c == u'-' || c == u'_') {
      bRegion = true;
      r += '_';
    } else {
      r += base::ToUtf8(std::u16string(1, bRegion ? base::ToUpperChar(c) : base::ToLowerChar(c)));
    }
  }
  return r;
}

}  // namespace

std::string ToPo(const CheckedFile& reference, const CheckedFile* translation, const std::u16string& sMainSection) {
  std::string s;
  for (const std::u16string& sLine : Heading(translation ? *translation : reference)) {
    s += sLine.empty() ? "#\n" : "# " + base::ToUtf8(sLine) + "\n";
  }
  std::string sHeader =
      "Project-Id-Version: " + base::ToUtf8(sMainSection) +
      "\nPO-Revision-Date: \nLast-Translator: \nLanguage-Team: \nLanguage: " +
      (translation ? PoLanguage(translation->language.sLangID) : "") +
      "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n";
  if (translation) {
    sHeader += "X-Lng-LangID: " + base::ToUtf8(translation->language.sLangID) +
               "\nX-Lng-Lang: " + base::ToUtf8(translation->language.sLang) + "\n";
  }
  const std::vector<Message> messages = Messages(reference, sMainSection);
  // The translation's rule, as the program reads it: English when it has none
  // or one the program cannot read.
  const std::u16string sRule = translation ? translation->language.sPlural : std::u16string();
  const FileRule rule = RuleOf(sRule);
  for (const Message& m : messages) {
    if (m.forms.empty()) continue;
    sHeader += "Plural-Forms: " + (rule.bRead ? base::ToUtf8(sRule) : std::string(kEnglishPluralForms)) + "\n";
    break;
  }
  s += "msgid \"\"\n" + PoStrings("msgstr", sHeader);
  // The translation's text of the reference's entry sKey in section.
  auto translated = [&](const LayoutSection& section, const std::u16string& sKey) {
    const LayoutSection* own = translation ? translation->layout.Find(section.sName) : nullptr;
    const LayoutEntry* e = own ? own->Find(sKey) : nullptr;
    return e && e->bQuoted ? EntryText(translation->source, *e) : std::u16string();
  };
  for (const Message& m : messages) {
    s += "\n";
    for (const std::string& sComment : EntryComments(reference, *m.entry)) s += "#. " + sComment + "\n";
    s += "#: " + reference.sDisplayName + ":" + std::to_string(m.entry->nLine) + "\n";
    bool bFormat = PlaceholderSequence(m.sText) != u"none";
    for (const std::u16string& sForm : m.formTexts) bFormat = bFormat || PlaceholderSequence(sForm) != u"none";
    if (bFormat) s += "#, c-format\n";
    s += PoStrings("msgctxt", base::ToUtf8(m.sContext));
    s += PoStrings("msgid", base::ToUtf8(LngToPoText(m.sText)));
    if (m.forms.empty()) {
      s += PoStrings("msgstr", base::ToUtf8(LngToPoText(translated(*m.section, m.entry->sKey))));
      continue;
    }
    s += PoStrings("msgid_plural", base::ToUtf8(LngToPoText(m.formTexts.back())));
    const std::u16string sBase = m.entry->sKey.substr(0, m.entry->sKey.rfind(u'['));
    for (int k = 0; k < rule.rule.Forms(); ++k) {
      s += PoStrings("msgstr[" + std::to_string(k) + "]",
                     base::ToUtf8(LngToPoText(translated(*m.section, FormKey(sBase, k)))));
    }
  }
  return s;
}

}  // namespace lngcheck
