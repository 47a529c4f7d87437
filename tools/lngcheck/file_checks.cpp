// Checks of one language file that need no reference: how its bytes will be read
// (encoding, invalid-utf8, line-ending, nul-byte), keys and sections that the program would
// merge or skip (duplicate-key, duplicate-section), and escapes that the program
// would report when it shows a text (bad-escape, bad-percent, mixed-placeholders),
// the spaces of French punctuation (french-spacing) and directional controls that
// are not closed or close nothing (bidi).
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>
#include <unordered_map>

#include "twinsweep/base/text.h"
#include "checks.h"
#include "twinsweep/platform/text_codec.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

std::u16string Text(const std::string& sUtf8) { return base::FromUtf8(sUtf8); }
std::u16string Number(int n) { return base::FromAscii(std::to_string(n)); }

// The line holding the byte at nOffset of the file, with its number; null for the mark.
const SourceLine* LineOfByte(const SourceFile& file, size_t nOffset, int* pnLine) {
  int n = 0;
  for (const SourceLine& line : file.Lines()) {
    ++n;
    if (nOffset >= line.nOffset && nOffset < line.nOffset + line.sBytes.size()) {
      *pnLine = n;
      return &line;
    }
  }
  return nullptr;
}

void AddAtByte(const CheckContext& ctx, size_t nOffset, Severity severity, const std::u16string& sMessage,
               const char* szCheck) {
  int nLine = 1;
  const SourceLine* line = LineOfByte(ctx.file.source, nOffset, &nLine);
  int nColumn = line ? ctx.file.source.ColumnOfByte(*line, nOffset - line->nOffset) : 1;
  ctx.Add(nLine, nColumn, severity, sMessage, szCheck);
}

void CheckEncoding(const CheckContext& ctx) {
  const SourceFile& file = ctx.file.source;
  const Encoding encoding = file.SavedAs();
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
    ctx.Add(1, 1, Severity::Error, u"saved as UTF-16; save as UTF-8 with a byte-order mark", "encoding");
    return;
  }
  if (encoding != Encoding::Utf8 && encoding != Encoding::Ansi) return;
  // The first character that the code page reads otherwise.
  const std::string& bytes = file.Bytes();
  size_t nFirst = 3;
  while (nFirst < bytes.size() && static_cast<unsigned char>(bytes[nFirst]) < 0x80) ++nFirst;
  const std::string sCodePage = std::to_string(platform::TextCodec().AnsiCodePage());
  // UTF-8 read as ANSI shows two or three wrong characters for each letter; ANSI
  // text is what the program expects of a file without the mark.
  const bool bUtf8 = encoding == Encoding::Utf8;
  AddAtByte(
      ctx, nFirst, bUtf8 ? Severity::Error : Severity::Warning,
      Text(std::string(bUtf8 ? "UTF-8 text without a byte-order mark" : "non-ASCII text without a byte-order mark") +
           " is read in code page " + sCodePage + "; save as UTF-8 with BOM"),
      "encoding");
}

void CheckUtf8(const CheckContext& ctx) {
  const SourceFile& file = ctx.file.source;
  int nLine = 0;
  for (const SourceLine& line : file.Lines()) {
    ++nLine;
    for (size_t i = 0; i < line.sBytes.size();) {
      const size_t n = Utf8SequenceLength(line.sBytes, i);
      if (n) {
        i += n;
        continue;
      }
      // One finding a line: a broken character rarely comes alone.
      char szByte[8];
      std::snprintf(szByte, sizeof szByte, "0x%02X", static_cast<unsigned char>(line.sBytes[i]));
      ctx.Add(nLine, file.ColumnOfByte(line, i), Severity::Error,
              Text(std::string("invalid UTF-8 (byte ") + szByte + "); the program shows U+FFFD in its place"),
              "invalid-utf8");
      break;
    }
  }
}

void CheckLineEnds(const CheckContext& ctx) {
  const LineEnds& ends = ctx.file.source.Ends();
  if (!ends.nFirstOther) return;
  std::string sKinds;
  int nKinds = 0;
  for (const auto& [n, szName] :
       {std::pair<int, const char*>{ends.nCrLf, "CR LF"}, {ends.nLf, "LF"}, {ends.nCr, "CR"}}) {
    if (!n) continue;
    sKinds += std::string(nKinds++ ? ", " : "") + std::to_string(n) + " " + szName;
  }
  const std::string sWhat = nKinds == 1 ? std::string(ends.nLf ? "LF" : "CR") : "mixed (" + sKinds + ")";
  // Where the first wrong line end stands: after the text of its line.
  const SourceLine* line = ctx.file.source.Line(ends.nFirstOther);
  const int nColumn = line ? ColumnOfText(line->sText, line->sText.size()) : 1;
  ctx.Add(ends.nFirstOther, nColumn, Severity::Error,
          Text("line ends are " + sWhat +
               "; the program ends a line only at CR LF; save with CR LF line ends (lngcheck --fix " +
               ctx.file.sDisplayName + ")"),
          "line-ending");
}

// A NUL is read into the text as a character of its own, and a text shown in a
// box ends before it: what follows never reaches the user. A file saved as
// UTF-16 has a finding of its own, which says why the program cannot read it;
// its NUL bytes are part of its characters.
void CheckNulBytes(const CheckContext& ctx) {
  const SourceFile& file = ctx.file.source;
  if (file.SavedAs() == Encoding::Utf16Le || file.SavedAs() == Encoding::Utf16Be) return;
  int nLine = 0;
  for (const SourceLine& line : file.Lines()) {
    ++nLine;
    const size_t n = line.sBytes.find('\0');
    if (n == std::string::npos) continue;
    ctx.Add(nLine, file.ColumnOfByte(line, n), Severity::Error,
            u"NUL byte; a text shown to the user ends before it (a file saved as UTF-16?)", "nul-byte");
  }
}

}  // namespace

void CheckBytes(const CheckContext& ctx) {
  CheckNulBytes(ctx);
  if (ctx.file.source.SavedAs() == Encoding::Utf8Bom) {
    CheckUtf8(ctx);
  } else {
    CheckEncoding(ctx);
  }
  CheckLineEnds(ctx);
}

void CheckKeys(const CheckContext& ctx) {
  const Layout& layout = ctx.file.layout;
  // The first section of every name, folded to lower case.
  std::unordered_map<std::u16string, const LayoutSection*> firstSections;
  for (const LayoutSection& section : layout.Sections()) {
    auto [it, bNew] = firstSections.emplace(base::LCase(section.sName), &section);
    if (!bNew) {
      const LayoutSection& first = *it->second;
      ctx.Add(section.nLine, layout.FirstColumn(section.nLine), Severity::Warning,
              u"section [" + section.sName + u"] repeats [" + first.sName + u"] of line " + Number(first.nLine) +
                  u"; the program reads only the first",
              "duplicate-section");
    }
    for (const LayoutEntry& e : section.entries) {
      const LayoutEntry& first = *section.Find(e.sKey);
      // Exact repeats are the engine's own report.
      if (&first == &e || first.sKey == e.sKey) continue;
      ctx.Add(e.nLine, e.nKeyColumn, Severity::Warning,
              u"key '" + e.sKey + u"' differs from '" + first.sKey + u"' of line " + Number(first.nLine) +
                  u" only in letter case; the program takes them for one key and keeps the first",
              "duplicate-key");
    }
  }
}

namespace {

// Calls fn(loaded, entry, line, raw value) for each quoted entry of the listed sub-sections.
template <typename Fn>
void ForEachQuotedEntry(const CheckContext& ctx, Fn fn) {
  for (const LoadedSection& loaded : ctx.file.language.sections) {
    const LayoutSection* section = ctx.SubSection(ctx.file, loaded.sName);
    if (!section) continue;
    for (const LayoutEntry& e : section->entries) {
      if (!e.bQuoted) continue;
      const std::u16string& sLine = ctx.file.source.Line(e.nLine)->sText;
      fn(loaded, e, sLine, sLine.substr(e.nValueBegin, e.nValueEnd - e.nValueBegin));
    }
  }
}

}  // namespace

void CheckEscapes(const CheckContext& ctx) {
  ForEachQuotedEntry(ctx, [&](const LoadedSection& loaded, const LayoutEntry& e, const std::u16string& sLine,
                              const std::u16string& sRaw) {
    if (!loaded.bForm && MixesPlaceholders(sRaw)) {
      ctx.Add(e.nLine, e.nValueColumn, Severity::Error,
              u"numbered (%1$s) and unnumbered (%s) placeholders mixed: the program shows the text as written; "
              u"number all of them or none",
              "mixed-placeholders");
    }
    const bool bFormatted = !loaded.bForm && TakesValues(sRaw);
    for (const Token& t : Tokenize(sRaw)) {
      const int nColumn = ColumnOfText(sLine, e.nValueBegin + t.nPos);
      if (t.kind == TokenKind::BadEscape) {
        const std::u16string sEscape = sRaw.substr(t.nPos, 2);
        ctx.Add(e.nLine, nColumn, Severity::Warning,
                u"unknown escape '" + sEscape +
                    u"' stays as written and is reported when the text is shown; "
                    u"write '\\\\' for a backslash",
                "bad-escape");
      }
      // Form texts, and texts without placeholders, are shown with their escapes
      // resolved only, "%" as written; a text with placeholders is formatted,
      // where such a "%" is reported and dropped with the character after it.
      if (t.kind == TokenKind::BadPercent && bFormatted) {
        ctx.Add(e.nLine, nColumn, Severity::Error,
                u"'%' starts no placeholder in a text with placeholders, which the program fills: it reports the '%' "
                u"and drops it with the character after it; write %% for a percent sign",
                "bad-percent");
      }
    }
  });
}

void CheckFrenchSpacing(const CheckContext& ctx) {
  if (!base::EqualsNoCase(ctx.file.language.sLangID, u"FR")) return;
  ForEachQuotedEntry(ctx, [&](const LoadedSection& loaded, const LayoutEntry& e, const std::u16string& sLine,
                              const std::u16string& sRaw) {
    if (!IsText(loaded, e.sKey)) return;
    for (size_t i = 1; i < sRaw.size(); ++i) {
      if (sRaw[i - 1] != u' ' || std::u16string_view(u"?!:;").find(sRaw[i]) == std::u16string_view::npos) continue;
      ctx.Add(e.nLine, ColumnOfText(sLine, e.nValueBegin + i - 1), Severity::Warning,
              u"a plain space before '" + sRaw.substr(i, 1) +
                  u"' can end the line there; French puts a no-break space (U+00A0 or U+202F) before ? ! : ;",
              "french-spacing");
    }
  });
}

void CheckBidi(const CheckContext& ctx) {
  // Unicode's explicit directional controls: embeddings and overrides end at PDF,
  // isolates at PDI, and every one at the end of its line (a paragraph of the box).
  struct Control {
    char16_t c;
    const char16_t* sName;
    bool bIsolate;
  };
  static constexpr Control kOpeners[] = {
      {u'\u202A', u"LRE", false}, {u'\u202B', u"RLE", false}, {u'\u202D', u"LRO", false}, {u'\u202E', u"RLO", false},
      {u'\u2066', u"LRI", true},  {u'\u2067', u"RLI", true},  {u'\u2068', u"FSI", true}};
  auto code = [](char16_t c) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    return std::u16string(u"U+") + kHex[c >> 12] + kHex[(c >> 8) & 15] + kHex[(c >> 4) & 15] + kHex[c & 15];
  };
  ForEachQuotedEntry(ctx, [&](const LoadedSection& loaded, const LayoutEntry& e, const std::u16string& sLine,
                              const std::u16string& sRaw) {
    if (!IsText(loaded, e.sKey)) return;
    std::vector<std::pair<const Control*, size_t>> open;  // each with its place in sRaw
    auto column = [&](size_t i) { return ColumnOfText(sLine, e.nValueBegin + i); };
    auto closeLine = [&] {
      for (const auto& [pControl, nAt] : open)
        ctx.Add(e.nLine, column(nAt), Severity::Warning,
                code(pControl->c) + u" (" + pControl->sName + u") is not closed before the end of its line: " +
                    u"what follows reads in its direction; close it with " +
                    (pControl->bIsolate ? u"U+2069 (PDI)" : u"U+202C (PDF)"),
                "bidi");
      open.clear();
    };
    auto stray = [&](size_t i, const char16_t* sName) {
      ctx.Add(e.nLine, column(i), Severity::Warning,
              code(sRaw[i]) + u" (" + sName + u") closes nothing opened before it in its line; remove it", "bidi");
    };
    for (size_t i = 0; i < sRaw.size(); ++i) {
      const char16_t c = sRaw[i];
      if (c == u'\\' && i + 1 < sRaw.size()) {
        if (sRaw[i + 1] == u'n' || sRaw[i + 1] == u'N') closeLine();
        ++i;
      } else if (c == u'\u202C') {
        if (open.empty() || open.back().first->bIsolate)
          stray(i, u"PDF");
        else
          open.pop_back();
      } else if (c == u'\u2069') {
        // A PDI closes its isolate and whatever was opened inside it.
        auto isolate = std::find_if(open.rbegin(), open.rend(), [](const auto& o) { return o.first->bIsolate; });
        if (isolate == open.rend())
          stray(i, u"PDI");
        else
          open.erase(std::prev(isolate.base()), open.end());
      } else {
        for (const Control& o : kOpeners)
          if (o.c == c) open.emplace_back(&o, i);
      }
    }
    closeLine();
  });
}

}  // namespace lngcheck
