#pragma once
// The bytes of one language file, and its text as the translator meant it: the
// file decoded from whatever it was saved as (UTF-8 with or without a byte-order
// mark, ANSI text in the system's code page, UTF-16 in either byte order) and cut
// at any line end (CR LF, LF or CR). That text, held again as UTF-8 with a
// byte-order mark and CR LF line ends, is what the program would read had the file
// been saved right: the engine loads it, every line and column counts its lines,
// and --fix writes it. What the file was saved as is kept for the byte checks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lngcheck {

enum class Encoding {
  Ascii,    // no byte-order mark, no byte above 0x7F
  Utf8Bom,  // the byte-order mark EF BB BF
  Utf8,     // no mark, and every byte above 0x7F belongs to a UTF-8 character
  Ansi,     // no mark, and bytes above 0x7F that are not UTF-8
  Utf16Le,  // the mark FF FE
  Utf16Be,  // the mark FE FF
};

// How the lines of the file ended, counted in the decoded text.
struct LineEnds {
  int nCrLf = 0, nLf = 0, nCr = 0;
  int nFirstOther = 0;  // the line (from 1) whose end is the first LF or CR alone; 0 when none
};

struct SourceLine {
  size_t nOffset = 0;    // of the line's first byte in Bytes()
  std::string sBytes;    // UTF-8, without the line end
  std::u16string sText;  // decoded
};

class SourceFile {
 public:
  // Reads the whole file through the platform's files; false when it cannot.
  bool Read(const std::u16string& sPath);
  // Takes bytes already read.
  void SetBytes(std::string bytes);

  // The file as saved, and what it was saved as.
  const std::string& Original() const { return sOriginal_; }
  Encoding SavedAs() const { return encoding_; }
  const LineEnds& Ends() const { return ends_; }
  // The text as UTF-8 with a byte-order mark and CR LF line ends.
  const std::string& Bytes() const { return sBytes_; }
  const std::vector<SourceLine>& Lines() const { return lines_; }
  // The line numbered nLine (from 1), or null.
  const SourceLine* Line(int nLine) const;
  // The column (from 1) of the byte at nByte of the line: characters before it, + 1.
  int ColumnOfByte(const SourceLine& line, size_t nByte) const;

 private:
  void Normalize();
  void CutLines();

  std::string sOriginal_;
  Encoding encoding_ = Encoding::Ascii;
  LineEnds ends_;
  std::string sBytes_;
  std::vector<SourceLine> lines_;
};

// The column (from 1) of the UTF-16 position nPos of a line: code points before it, + 1.
int ColumnOfText(const std::u16string& sText, size_t nPos);
// Whether every byte above 0x7F of s belongs to a well-formed UTF-8 character.
bool IsUtf8(const std::string& s);
// The length of the well-formed UTF-8 character at s[i], or 0 when there is none
// (overlong forms, surrogates and code points above U+10FFFF included).
size_t Utf8SequenceLength(const std::string& s, size_t i);

}  // namespace lngcheck
