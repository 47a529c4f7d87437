#pragma once
// The bytes of one language file and its lines as the program's reader cuts them:
// at CR LF pairs only (a lone CR or LF stays inside the line), each line decoded on
// its own, as UTF-8 after a byte-order mark, else in the system's ANSI code page.
// The byte checks (encoding, line ends) read the bytes; everything that names a
// line or column counts these lines and the characters of their text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lngcheck {

struct SourceLine {
  size_t nOffset = 0;   // of the line's first byte in the file (after the mark on line 1)
  std::string sBytes;   // without the CR LF
  std::u16string sText;  // decoded
};

class SourceFile {
 public:
  // Reads the whole file through the platform's files; false when it cannot.
  bool Read(const std::u16string& sPath);

  const std::string& Bytes() const { return sBytes_; }
  bool HasByteOrderMark() const { return bBom_; }
  const std::vector<SourceLine>& Lines() const { return lines_; }
  // The line numbered nLine (from 1), or null.
  const SourceLine* Line(int nLine) const;
  // The column (from 1) of the byte at nByte of the line: characters before it, + 1.
  int ColumnOfByte(const SourceLine& line, size_t nByte) const;

 private:
  void CutLines();

  std::string sBytes_;
  bool bBom_ = false;
  std::vector<SourceLine> lines_;
};

// The column (from 1) of the UTF-16 position nPos of a line: code points before it, + 1.
int ColumnOfText(const std::u16string& sText, size_t nPos);

}  // namespace lngcheck
