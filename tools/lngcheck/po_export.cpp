// --to-po: the messages of a reference, with a translation's texts.
#include "twinsweep/base/text.h"
#include "po.h"
#include "po_text.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

bool IsCommentLine(const std::u16string& s) {
  const std::u16string t = TrimBlanks(s);
  return !t.empty() && (t[0] == u';' || t[0] == u'\'');
}

// A comment's text without its ";" or "'" and the blanks around it.
std::string CommentText(const std::u16string& s) { return base::ToUtf8(TrimBlanks(TrimBlanks(s).substr(1))); }

// The comment lines right above the entry and the comment on its line, for the
// translator.
std::vector<std::string> EntryComments(const CheckedFile& file, const LayoutEntry& e) {
  std::vector<std::string> r;
  int n = e.nLine - 1;
  while (n >= 1 && IsCommentLine(file.source.Line(n)->sText)) --n;
  for (int k = n + 1; k < e.nLine; ++k) r.push_back(CommentText(file.source.Line(k)->sText));
  if (e.bQuoted) {
    const std::u16string& s = file.source.Line(e.nLine)->sText;
    const std::u16string sAfter = TrimBlanks(s.substr(e.nValueEnd + 1));
    if (!sAfter.empty() && (sAfter[0] == u';' || sAfter[0] == u'\'')) r.push_back(CommentText(sAfter));
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
  std::string sHeader = "Project-Id-Version: " + base::ToUtf8(sMainSection) +
                        "\nPO-Revision-Date: \nLast-Translator: \nLanguage-Team: \nLanguage: " +
                        (translation ? PoLanguage(translation->language.sLangID) : "") +
                        "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n";
  if (translation) {
    sHeader += "X-Lng-LangID: " + base::ToUtf8(translation->language.sLangID) + "\nX-Lng-Lang: " +
               base::ToUtf8(translation->language.sLang) + "\n";
  }
  s += "msgid \"\"\n" + PoStrings("msgstr", sHeader);
  for (const Message& m : Messages(reference, sMainSection)) {
    s += "\n";
    for (const std::string& sComment : EntryComments(reference, *m.entry)) s += "#. " + sComment + "\n";
    s += "#: " + reference.sDisplayName + ":" + std::to_string(m.entry->nLine) + "\n";
    if (PlaceholderSequence(m.sText) != u"none") s += "#, c-format\n";
    std::u16string sTranslated;
    if (translation) {
      const LayoutSection* own = translation->layout.Find(m.section->sName);
      const LayoutEntry* e = own ? own->Find(m.entry->sKey) : nullptr;
      if (e && e->bQuoted) sTranslated = EntryText(translation->source, *e);
    }
    s += PoStrings("msgctxt", base::ToUtf8(m.sContext));
    s += PoStrings("msgid", base::ToUtf8(LngToPoText(m.sText)));
    s += PoStrings("msgstr", base::ToUtf8(LngToPoText(sTranslated)));
  }
  return s;
}

}  // namespace lngcheck
