#pragma once
// The languages' own names, as a language's speakers read it in a list of
// languages (CLDR's names, capitalized as at the start of a menu item), for the
// codes of a PO file's "Language" header.
#include <string>

namespace lngcheck {

// "Polski" for "pl" or "pl_PL", "Português (Brasil)" for "pt_BR"; a region the
// table lacks falls back to the language alone. Empty for a language the table
// lacks.
std::u16string OwnLanguageName(const std::string& sPoLanguage);

}  // namespace lngcheck
