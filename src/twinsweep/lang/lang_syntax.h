#pragma once
// The language file's syntax, in one place for the engine and for lngcheck:
// blanks, where a comment cuts a value part, a value's enclosing and doubled
// quotes, a value put back into its line, and a text's backslash escapes. The placeholders of a text are
// parsed in lang_placeholder.h. Not installed with the engine's public headers.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace twinsweep {

// Spaces and tabs, in any mix; no other character is a blank in a language file.
inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// ";" and "'" start a comment line, and a comment after a value.
inline bool IsCommentStart(char16_t c) { return c == u';' || c == u'\''; }

// The text without blanks at either end, as a view into the same text: the
// parser strips every line, and most lines need nothing but a look at the result.
inline std::u16string_view TrimBlanksView(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The length of a value part before its comment: the first ";" or "'" that
// stands outside double quotes (and see lang_syntax.cpp for an unclosed quote).
size_t CommentCut(std::u16string_view s);

// Checks and removes the enclosing quotes of sText, undoubling inner ones; on
// failure sError says why and sText is left unusable.
bool UnquoteValue(std::u16string& sText, std::u16string& sError);

// The text as it is written between a value's quotes: each quote doubled.
std::u16string DoubleQuotes(std::u16string_view sText);

// The text between a value's quotes as the engine reads it: doubled quotes single.
std::u16string UndoubleQuotes(std::u16string_view sQuoted);

// A text made fit for a quoted value: "\\", "\n" for CR LF, "\t", doubled quotes.
std::u16string EscapeValue(std::u16string_view sValue);

// sLine with tabs before its first "=", so that the "=" stands at column 8 * nTabs.
std::u16string TabAlign(std::u16string_view sLine, int32_t nTabs);

// sLine with the text between a value's quotes, [nBegin, nEnd), replaced by sText.
std::u16string WithQuotedValue(std::u16string_view sLine, size_t nBegin, size_t nEnd, std::u16string_view sText);

// The source of the fit check's reports in the error log, by which a reader of
// the log tells them from the others.
inline constexpr char16_t kFitReportSource[] = u"CLang.CheckFit";

// The positions of the fields (mMain::LogEntry::fields) of the engine's reports
// about a form, so that a reader of the log finds what a report is about without
// reading its English text. Every such report has the form, as the program names
// it; the fit check's have the control too, as the form's section names it
// ("optmode(1)"; the form's own name for its title), and the pixels the text
// needs and has (both "" when it could not be measured).
enum FormReportField : size_t { kReportForm, kReportControl, kReportNeededPx, kReportAvailablePx };

// Appends sText to sOut with its escapes resolved: "\\", "\n" (as sLineBreak),
// "\t" and "\"", the letter in either case. Any other backslash is kept, with the
// character after it; onInvalid, when given, hears of each such sequence and of
// where its backslash stands in sText. nDone follows how much of sText is
// resolved, so that a caller that is interrupted by a failure knows what is left.
void AppendResolvedEscapes(std::u16string_view sText, std::u16string_view sLineBreak, std::u16string& sOut,
                           size_t& nDone, const std::function<void(std::u16string_view sSeq, size_t nAt)>& onInvalid);

// sText with its escapes resolved, as AppendResolvedEscapes does.
std::u16string ResolveEscapes(std::u16string_view sText, std::u16string_view sLineBreak);

}  // namespace twinsweep
