#pragma once
// Texts between a language file and a PO file.
//
// A language file keeps its escapes as written ("\n", "\t", "\\"), which the
// program resolves when it shows a text; a PO file holds the text itself, with
// C escapes in its quoted strings. The mapping:
//
//   language file        PO text (shown in the PO file as)
//   \n or \N             line break ("\n")
//   \t or \T             tab ("\t")
//   \\                   backslash ("\\")
//   \" or a doubled "    double quote ("\"")
//   \ before another     that backslash, kept (the program shows it as well)
//   character, or last
//
// and back: a line break (CR LF, LF or CR) becomes \n, a tab \t, a backslash \\,
// a double quote is doubled in the value. A text written in the first form of
// each row comes back byte for byte; "\N", "\T", "\"" and a lone backslash come
// back in that first form, which the program shows the same way.
#include <string>

namespace lngcheck {

std::u16string LngToPoText(const std::u16string& sLng);
std::u16string PoTextToLng(const std::u16string& sPo);

// A PO string literal's content for UTF-8 text: backslash, quote and control
// characters escaped.
std::string PoEscape(const std::string& sUtf8);
// The string of a PO keyword: one literal, or, when the text breaks lines before
// its end, "" and one literal for each line, as gettext writes them.
std::string PoStrings(const std::string& sKeyword, const std::string& sUtf8);

}  // namespace lngcheck
