#pragma once
// A text of a language file taken apart as the program's formatters see it:
// backslash escapes as sprintf2 resolves them, then "%" placeholders as sprintf1
// fills them. The checks compare placeholders and line breaks with this, and the
// pseudo-localizer leaves every token but the plain characters as it is.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace lngcheck {

enum class TokenKind {
  Char,         // one plain character
  Escape,       // "\\", "\n", "\t" or a backslash before a quote (either case of the letter)
  BadEscape,    // a backslash that sprintf2 reports and keeps; only the backslash
  Placeholder,  // "%s" or "%d", or numbered: "%2$s", "%1$-8d"
  Percent,      // "%%"
  BadPercent,   // a "%" that sprintf1 reports and drops with the character after it
};

struct Token {
  TokenKind kind;
  size_t nPos;  // in the text
  size_t nLen;
};

std::vector<Token> Tokenize(const std::u16string& sText);

// The placeholders of a text in order, as "%s %d", or "none".
std::u16string PlaceholderSequence(const std::u16string& sText);
// Whether the text has placeholders: the program then fills it, and only then is a
// "%" that starts none dropped ("%%" is one sign there, and two in a text shown
// without values).
bool TakesValues(const std::u16string& sText);
// Whether the text has numbered placeholders ("%1$s") and unnumbered ones both,
// which the program refuses to fill.
bool MixesPlaceholders(const std::u16string& sText);
// Whether two texts take the same parameters the same way: the same multiset
// of (parameter number, type), unnumbered placeholders numbered in order.
// Whether a text mixes the two kinds does not count here.
bool SamePlaceholders(const std::u16string& sA, const std::u16string& sB);
// The number of line-break escapes ("\n" or "\N").
int LineBreakCount(const std::u16string& sText);

}  // namespace lngcheck
