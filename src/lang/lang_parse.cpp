// CLang: the language-file syntax. ReadSection reads one section through a
// fresh line reader; TrimBlanks, StripComment and Unquote take an entry apart.
#include <memory>
#include <optional>

#include "base/failure.h"
#include "base/text.h"
#include "lang/lang.h"
#include "lang/lang_file.h"
#include "base/error_log.h"

namespace {

constexpr char16_t kQuote = u'"';

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The text without blanks at either end, as a view into the same text: the
// parser strips every line, and most lines need nothing but a look at the result.
std::u16string_view TrimView(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsCommentStart(char16_t c) { return c == u';' || c == u'\''; }

}  // namespace

bool CLang::ReadSection(const std::u16string& sFilename, const std::u16string& sSection, TextCollection& colValues,
                        const std::u16string& sPrefix, TextCollection* colNames) {
  const char16_t* const kSource = u"CLang.ReadSection";
  try {
    auto oFile = std::make_unique<CLangFile>();
    if (!oFile->OpenFile(sFilename)) {
      mMain::LogError(kSource, oFile->LastError(), std::u16string(u"oFile.OpenFile failed"));
      return false;
    }
    auto report = [&](const char16_t* sFormat, base::VariantList params) {
      mMain::LogError(kSource, 0, sprintf1(sFormat, params));
    };
    int32_t nLine = 0;
    bool bInSection = false;
    std::u16string sRaw;  // reused from line to line
    while (!oFile->FEOF()) {
      if (!oFile->ReadLine(sRaw)) {
        if (!oFile->FEOF()) {
          mMain::LogError(kSource, oFile->LastError(), std::u16string(u"oFile.ReadLine failed"));
        }
        break;
      }
      const std::u16string_view sLine = TrimView(sRaw);
      ++nLine;
      if (sLine.empty() || IsCommentStart(sLine[0])) continue;

      if (sLine[0] == u'[') {
        size_t nClose = sLine.find(u']', 1);
        if (nClose == std::u16string_view::npos) {
          report(u"symbol ']' is absent, line = %d, file = '%s'", {nLine, sFilename});
          return false;
        }
        std::u16string_view sName = sLine.substr(1, nClose - 1);
        if (sName.empty()) {
          report(u"empty section name, line - %d, file = '%s'", {nLine, sFilename});
          return false;
        }
        std::u16string_view sRest = TrimView(sLine.substr(nClose + 1));
        if (!sRest.empty() && !IsCommentStart(sRest[0])) {
          report(u"'%s' is not the comment, line - %d, file = '%s'", {std::u16string(sRest), nLine, sFilename});
          return false;
        }
        if (bInSection) return true;
        if (base::EqualsNoCase(sName, sSection)) bInSection = true;
        continue;
      }

      // Entries of other sections are never examined.
      if (!bInSection) continue;

      size_t nEq = sLine.find(u'=');
      if (nEq == std::u16string_view::npos) {
        report(u"symbol '=' is absent, line = %d, file = '%s'", {nLine, sFilename});
        continue;
      }
      std::u16string sKey(TrimView(sLine.substr(0, nEq)));
      std::u16string_view sValuePart = TrimView(sLine.substr(nEq + 1));
      if (sKey.empty()) {
        report(u"Const's name does not exist, line - %d, file = '%s'", {nLine, sFilename});
        continue;
      }
      std::u16string sValue = TrimBlanks(StripComment(sValuePart));
      if (sValue.empty()) {
        report(u"Const's value does not exist, line - %d, file = '%s'", {nLine, sFilename});
        continue;
      }
      std::u16string sError;
      if (!Unquote(sValue, sError)) {
        report(u"Syntactic error - '%s', line - %d, file = '%s'", {sError, nLine, sFilename});
        continue;
      }
      try {
        colValues.Add(std::move(sValue), base::LCase(sPrefix + sKey));
      } catch (const base::Failure& e) {
        if (e.Number() != base::kKeyAlreadyExists) throw;
        report(u"declaration of constant '%s' repeats in a line %d of '%s' file", {sKey, nLine, sFilename});
      }
      // The same key twice in one section, or no name list: nothing to record.
      if (colNames) base::Ignore([&] { colNames->Add(base::LCase(sKey), sKey); });
    }
    return bInSection;
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(kSource, -1, std::nullopt, sFilename);
    return false;
  }
}

bool CLang::Unquote(std::u16string& sText, std::u16string& sError) {
  if (sText.size() < 2 || sText.front() != kQuote || sText.back() != kQuote) {
    sError = u"The string should be in quotes";
    return false;
  }
  sText = sText.substr(1, sText.size() - 2);
  size_t nPos = 0;
  for (;;) {
    size_t q = sText.find(kQuote, nPos);
    if (q == std::u16string::npos) return true;
    if (q + 1 >= sText.size() || sText[q + 1] != kQuote) {
      sError = u"quoted string has unary quotes";
      return false;
    }
    sText.erase(q + 1, 1);
    nPos = q + 1;
  }
}

std::u16string CLang::TrimBlanks(std::u16string_view sText) {
  // Stripping spaces first and then, if a tab is left, spaces and tabs together
  // comes to the same as stripping any mix of both at either end.
  return std::u16string(TrimView(sText));
}

std::u16string CLang::StripComment(std::u16string_view sText) {
  const std::u16string_view kCommentChars = u";'";
  int32_t c = InStrAny(sText, kCommentChars, 1);
  int32_t q = base::InStr(1, sText, u"\"");
  bool bInQuotes = false;
  while (q != 0) {
    if (c == 0) return std::u16string(sText);
    if (q < c) {
      bInQuotes = !bInQuotes;
      q = base::InStr(q + 1, sText, u"\"");
    } else if (!bInQuotes) {
      return std::u16string(sText.substr(0, static_cast<size_t>(c - 1)));
    } else {
      c = InStrAny(sText, kCommentChars, c + 1);
    }
  }
  if (c == 0) return std::u16string(sText);
  return std::u16string(sText.substr(0, static_cast<size_t>(c - 1)));
}
