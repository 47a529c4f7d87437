#pragma once
// The PO round trip of a translation: --to-po writes one message for each text a
// translator translates, --from-po writes the translation back as a language
// file laid out as its reference.
//
// A message is an entry of a sub-section that the reference's main section lists
// and that IsText calls a text, with a text that is not empty; its context names
// the section and the key ("[Main.texts] LID_TITLE"). The language of the
// translation rides in the header: "Language" for the PO tools, "X-Lng-LangID" and
// "X-Lng-Lang" as the version section writes them; the translation's heading
// (the lines above its first section) rides as the header's comments. A text
// with plural forms is one message with msgid_plural and msgstr[N], the
// translation's plural rule its "Plural-Forms".
#include <string>
#include <vector>

#include "checks.h"

namespace lngcheck {

struct Message {
  const LayoutSection* section;
  const LayoutEntry* entry;
  std::u16string sContext;
  std::u16string sText;  // as the language file holds it, quotes undone
  bool bForm;            // of a form sub-section: shown without formatting
  // A text with plural forms (KEY[0], KEY[1], ...): the reference's forms in
  // order, entry being the first; its context names KEY.
  std::vector<const LayoutEntry*> forms;
  std::vector<std::u16string> formTexts;
};

// The rule a PO header's Plural-Forms gives a translation without one: English.
constexpr char kEnglishPluralForms[] = "nplurals=2; plural=(n != 1);";

// The messages of the reference, in the order of its lines.
std::vector<Message> Messages(const CheckedFile& reference, const std::u16string& sMainSection);
// The lines above the first section header.
std::vector<std::u16string> Heading(const CheckedFile& file);

// The PO file of the reference's texts, with the translation's texts as msgstr
// when a translation is given.
std::string ToPo(const CheckedFile& reference, const CheckedFile* translation, const std::u16string& sMainSection);

// The language file made from a PO file: the reference's lines, with the PO's
// texts and language (sLangName, when not empty, names it unless the header
// does); with a base (the translation as it stands), the base's
// own lines, layout values and layout entries kept. False when the PO cannot be
// used; *psErrors then holds "PO:LINE: error: ..." lines. *psNotes receives
// what was left out.
bool FromPo(const std::string& sPoName, const std::string& sPoBytes, const CheckedFile& reference,
            const CheckedFile* base, const std::u16string& sMainSection, const std::u16string& sLangName,
            std::string* psOut, std::string* psErrors, std::string* psNotes);

}  // namespace lngcheck
