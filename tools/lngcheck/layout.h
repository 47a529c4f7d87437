#pragma once
// Where things stand in a language file: its section headers and entries with
// their lines and columns. The engine reads the values; this layout only answers
// "at which line and column", classifying lines as the program's parser does
// (blank, comment, header, entry) so that both count the same lines.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "source_file.h"

namespace lngcheck {

struct LayoutEntry {
  std::u16string sKey;  // as written, blanks around it removed
  int nLine = 0;
  int nKeyColumn = 1;
  // The quoted value of the line: the characters between its quotes (doubled
  // quotes still doubled) stand at [nValueBegin, nValueEnd) of the line's text.
  bool bQuoted = false;
  size_t nValueBegin = 0, nValueEnd = 0;
  int nValueColumn = 1;  // of the opening quote, or of the value part when not quoted
  // The comment "lngcheck: same" stands on the entry's line or on the line above:
  // the text stays as in the reference (a product name). In the reference it
  // holds for every translation.
  bool bSame = false;
};

struct LayoutSection {
  std::u16string sName;  // as written between the brackets
  int nLine = 0;
  std::vector<LayoutEntry> entries;
  std::unordered_map<std::u16string, size_t> firstOf;  // lower-cased key -> its first entry

  // The first entry whose key equals sKey without regard to case, or null.
  const LayoutEntry* Find(const std::u16string& sKey) const;
};

class Layout {
 public:
  explicit Layout(const SourceFile& file);

  const std::vector<LayoutSection>& Sections() const { return sections_; }
  // The first section whose name equals sName without regard to case (the one the
  // program reads), or null.
  const LayoutSection* Find(const std::u16string& sName) const;
  // The column of the first non-blank character of a line (1 when there is none).
  int FirstColumn(int nLine) const;

 private:
  const SourceFile& file_;
  std::vector<LayoutSection> sections_;
  std::unordered_map<std::u16string, size_t> firstOf_;  // lower-cased name -> its first section
};

// The text of a quoted entry, as the program reads it.
std::u16string EntryText(const SourceFile& file, const LayoutEntry& e);

}  // namespace lngcheck
