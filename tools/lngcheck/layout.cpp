#include "layout.h"

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

size_t SkipBlanks(const std::u16string& s, size_t i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

// The end of the text [b, e) without its trailing blanks.
size_t TrimEnd(const std::u16string& s, size_t b, size_t e) {
  while (e > b && IsBlank(s[e - 1])) --e;
  return e;
}

// Whether the comment that starts at s[c] (its ";" or "'") says "lngcheck: same".
bool SaysSame(const std::u16string& s, size_t c, size_t e) {
  static const std::u16string kMark = u"lngcheck: same";
  const size_t b = SkipBlanks(s, c + 1);
  return b <= e && e - b >= kMark.size() && base::EqualsNoCase(std::u16string_view(s).substr(b, kMark.size()), kMark);
}

// A header as the parser accepts it: "[name]" and nothing after it but a comment.
bool ParseHeader(const std::u16string& s, size_t b, size_t e, std::u16string* psName) {
  size_t nClose = s.find(u']', b + 1);
  if (nClose == std::u16string::npos || nClose >= e || nClose == b + 1) return false;
  size_t nRest = SkipBlanks(s, nClose + 1);
  if (nRest < e && !IsCommentStart(s[nRest])) return false;
  *psName = s.substr(b + 1, nClose - b - 1);
  return true;
}

// False for a line without "=", which holds no entry.
bool ParseEntry(const std::u16string& s, size_t b, size_t e, int nLine, LayoutEntry* pEntry) {
  size_t nEq = s.find(u'=', b);
  if (nEq == std::u16string::npos || nEq >= e) return false;
  size_t nKeyEnd = TrimEnd(s, b, nEq);
  pEntry->sKey = s.substr(b, nKeyEnd - b);
  pEntry->nLine = nLine;
  pEntry->nKeyColumn = ColumnOfText(s, b);
  size_t v = SkipBlanks(s, nEq + 1);
  pEntry->nValueColumn = ColumnOfText(s, v);
  if (v >= e || s[v] != u'"') return true;
  // The closing quote is the first one that is not doubled.
  for (size_t i = v + 1; i < e; ++i) {
    if (s[i] != u'"') continue;
    if (i + 1 < e && s[i + 1] == u'"') {
      ++i;
      continue;
    }
    pEntry->bQuoted = true;
    pEntry->nValueBegin = v + 1;
    pEntry->nValueEnd = i;
    const size_t c = SkipBlanks(s, i + 1);
    if (c < e && IsCommentStart(s[c]) && SaysSame(s, c, e)) pEntry->bSame = true;
    return true;
  }
  return true;
}

}  // namespace

const LayoutEntry* LayoutSection::Find(const std::u16string& sKey) const {
  auto it = firstOf.find(base::LCase(sKey));
  return it == firstOf.end() ? nullptr : &entries[it->second];
}

Layout::Layout(const SourceFile& file) : file_(file) {
  int nLine = 0;
  bool bSameAbove = false;  // the line before says "lngcheck: same"
  for (const SourceLine& line : file.Lines()) {
    ++nLine;
    const std::u16string& s = line.sText;
    size_t b = SkipBlanks(s, 0);
    size_t e = TrimEnd(s, b, s.size());
    const bool bSameHere = b < e && IsCommentStart(s[b]) && SaysSame(s, b, e);
    const bool bSame = bSameAbove;
    bSameAbove = bSameHere;
    if (b == e || IsCommentStart(s[b])) continue;
    if (s[b] == u'[') {
      LayoutSection section;
      if (ParseHeader(s, b, e, &section.sName)) {
        section.nLine = nLine;
        firstOf_.emplace(base::LCase(section.sName), sections_.size());
        sections_.push_back(std::move(section));
      }
      continue;
    }
    if (sections_.empty()) continue;
    LayoutEntry entry;
    if (!ParseEntry(s, b, e, nLine, &entry) || entry.sKey.empty()) continue;
    entry.bSame = entry.bSame || bSame;
    LayoutSection& section = sections_.back();
    section.firstOf.emplace(base::LCase(entry.sKey), section.entries.size());
    section.entries.push_back(std::move(entry));
  }
}

const LayoutSection* Layout::Find(const std::u16string& sName) const {
  auto it = firstOf_.find(base::LCase(sName));
  return it == firstOf_.end() ? nullptr : &sections_[it->second];
}

int Layout::FirstColumn(int nLine) const {
  const SourceLine* line = file_.Line(nLine);
  return line ? ColumnOfText(line->sText, SkipBlanks(line->sText, 0)) : 1;
}

std::u16string EntryText(const SourceFile& file, const LayoutEntry& e) {
  return UndoubleQuotes(file.Line(e.nLine)->sText.substr(e.nValueBegin, e.nValueEnd - e.nValueBegin));
}

}  // namespace lngcheck
