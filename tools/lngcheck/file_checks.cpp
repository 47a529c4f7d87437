// Checks of one language file that need no reference: how its bytes will be read
// (encoding, invalid-utf8, line-ending, nul-byte), keys and sections that the program would
// merge or skip (duplicate-key, duplicate-section), and escapes that the program
// would report when it shows a text (bad-escape).
#include <cstdio>
#include <unordered_map>

#include "base/text.h"
#include "checks.h"
#include "platform/text_codec.h"
#include "text_tokens.h"

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

// The length of the valid UTF-8 sequence at s[i], or 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF included).
size_t Utf8SequenceLength(const std::string& s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t n;
  unsigned lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const unsigned char t = static_cast<unsigned char>(s[i + k]);
    if (t < (k == 1 ? lo : 0x80) || t > (k == 1 ? hi : 0xBF)) return 0;
  }
  return n;
}

void CheckEncoding(const CheckContext& ctx) {
  const std::string& bytes = ctx.file.source.Bytes();
  size_t nFirst = std::string::npos;
  bool bUtf8 = true;  // every non-ASCII byte belongs to a well-formed UTF-8 character
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8SequenceLength(bytes, i);
    if (n != 1 && nFirst == std::string::npos) nFirst = i;
    bUtf8 = bUtf8 && n != 0;
    i += n ? n : 1;
  }
  if (nFirst == std::string::npos) return;
  const std::string sCodePage = std::to_string(platform::TextCodec().AnsiCodePage());
  AddAtByte(ctx, nFirst, Severity::Warning,
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
  const std::string& bytes = ctx.file.source.Bytes();
  struct Lone {
    const char* szName;
    size_t nFirst = std::string::npos;
    int nCount = 0;
  } lf{"LF"}, cr{"CR"};
  for (size_t i = 0; i < bytes.size(); ++i) {
    Lone* p = nullptr;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) p = &lf;
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) p = &cr;
    if (!p) continue;
    if (p->nCount++ == 0) p->nFirst = i;
  }
  for (const Lone* p : {&lf, &cr}) {
    if (!p->nCount) continue;
    std::string sMore = p->nCount > 1 ? " (" + std::to_string(p->nCount - 1) + " more in the file)" : "";
    AddAtByte(ctx, p->nFirst, Severity::Warning,
              Text(std::string("line ends with ") + p->szName +
                   " alone, which the program keeps inside the line" + sMore + "; save with CR LF line ends"),
              "line-ending");
  }
}

// A NUL is read into the text as a character of its own, and a text shown in a
// box ends before it: what follows never reaches the user.
void CheckNulBytes(const CheckContext& ctx) {
  const SourceFile& file = ctx.file.source;
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
  if (ctx.file.source.HasByteOrderMark()) {
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

void CheckEscapes(const CheckContext& ctx) {
  for (const LoadedSection& loaded : ctx.file.language.sections) {
    const LayoutSection* section = ctx.SubSection(ctx.file, loaded.sName);
    if (!section) continue;
    for (const LayoutEntry& e : section->entries) {
      if (!e.bQuoted) continue;
      const std::u16string& sLine = ctx.file.source.Line(e.nLine)->sText;
      const std::u16string sRaw = sLine.substr(e.nValueBegin, e.nValueEnd - e.nValueBegin);
      for (const Token& t : Tokenize(sRaw)) {
        if (t.kind != TokenKind::BadEscape) continue;
        const std::u16string sEscape = sRaw.substr(t.nPos, 2);
        ctx.Add(e.nLine, ColumnOfText(sLine, e.nValueBegin + t.nPos), Severity::Warning,
                u"unknown escape '" + sEscape + u"' stays as written and is reported when the text is shown; "
                u"write '\\\\' for a backslash",
                "bad-escape");
      }
    }
  }
}

}  // namespace lngcheck
