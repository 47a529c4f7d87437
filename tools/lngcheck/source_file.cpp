#include "source_file.h"

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/text_codec.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& s, const char* szPrefix, size_t n) { return s.compare(0, n, szPrefix, n) == 0; }

// UTF-16 code units of the bytes after the mark, in the given byte order; an odd
// last byte is dropped.
std::u16string FromUtf16(const std::string& s, bool bBigEndian) {
  std::u16string r;
  r.reserve(s.size() / 2);
  for (size_t i = 2; i + 1 < s.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    r += static_cast<char16_t>(bBigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return r;
}

}  // namespace

bool SourceFile::Read(const std::u16string& sPath) {
  platform::IFiles& files = platform::Files();
  platform::ScopedFile hFile;
  if (files.OpenForRead(sPath, hFile.Receive()) != platform::kErrorSuccess) return false;
  std::string bytes;
  uint8_t block[65536];
  for (;;) {
    uint32_t nRead = 0;
    if (files.Read(hFile.Get(), block, sizeof block, &nRead) != platform::kErrorSuccess) return false;
    if (nRead == 0) break;
    bytes.append(reinterpret_cast<const char*>(block), nRead);
  }
  SetBytes(std::move(bytes));
  return true;
}

void SourceFile::SetBytes(std::string bytes) {
  sOriginal_ = std::move(bytes);
  Normalize();
  CutLines();
}

void SourceFile::Normalize() {
  std::string sUtf8;  // the text without a mark, line ends as saved
  const std::string& s = sOriginal_;
  if (StartsWith(s, kBom, 3)) {
    encoding_ = Encoding::Utf8Bom;
    sUtf8 = s.substr(3);  // kept byte for byte: invalid UTF-8 is a check of its own
  } else if (StartsWith(s, "\xFF\xFE", 2) || StartsWith(s, "\xFE\xFF", 2)) {
    const bool bBigEndian = s[0] == '\xFE';
    encoding_ = bBigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
    sUtf8 = base::ToUtf8(FromUtf16(s, bBigEndian));
  } else {
    bool bAscii = true;
    for (char c : s) bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    encoding_ = bAscii ? Encoding::Ascii : IsUtf8(s) ? Encoding::Utf8 : Encoding::Ansi;
    sUtf8 = encoding_ == Encoding::Ansi
                ? base::ToUtf8(platform::DecodeBytes(platform::kCodePageAnsi,
                                                     reinterpret_cast<const uint8_t*>(s.data()), s.size()))
                : s;
  }
  ends_ = LineEnds{};
  sBytes_.assign(kBom, 3);
  sBytes_.reserve(sUtf8.size() + sUtf8.size() / 16 + 3);
  int nLine = 1;
  for (size_t i = 0; i < sUtf8.size(); ++i) {
    const char c = sUtf8[i];
    if (c != '\r' && c != '\n') {
      sBytes_ += c;
      continue;
    }
    if (c == '\r' && i + 1 < sUtf8.size() && sUtf8[i + 1] == '\n') {
      ++ends_.nCrLf;
      ++i;
    } else {
      ++(c == '\n' ? ends_.nLf : ends_.nCr);
      if (!ends_.nFirstOther) ends_.nFirstOther = nLine;
    }
    sBytes_ += "\r\n";
    ++nLine;
  }
}

void SourceFile::CutLines() {
  lines_.clear();
  size_t nStart = 3;
  // No empty line after a final line end, nor any line for an empty file, as
  // the program's reader.
  while (nStart < sBytes_.size()) {
    size_t nEnd = sBytes_.find("\r\n", nStart);
    if (nEnd == std::string::npos) nEnd = sBytes_.size();
    SourceLine line;
    line.nOffset = nStart;
    line.sBytes = sBytes_.substr(nStart, nEnd - nStart);
    line.sText = platform::DecodeBytes(platform::kCodePageUtf8, reinterpret_cast<const uint8_t*>(line.sBytes.data()),
                                       line.sBytes.size());
    lines_.push_back(std::move(line));
    nStart = nEnd + 2;
  }
}

const SourceLine* SourceFile::Line(int nLine) const {
  if (nLine < 1 || static_cast<size_t>(nLine) > lines_.size()) return nullptr;
  return &lines_[static_cast<size_t>(nLine - 1)];
}

int SourceFile::ColumnOfByte(const SourceLine& line, size_t nByte) const {
  int nColumn = 1;
  for (size_t i = 0; i < nByte && i < line.sBytes.size(); ++i) {
    if ((static_cast<unsigned char>(line.sBytes[i]) & 0xC0) != 0x80) ++nColumn;
  }
  return nColumn;
}

int ColumnOfText(const std::u16string& sText, size_t nPos) {
  int nColumn = 1;
  for (size_t i = 0; i < nPos && i < sText.size(); ++i) {
    if (sText[i] < 0xDC00 || sText[i] > 0xDFFF) ++nColumn;  // a low surrogate ends a character already counted
  }
  return nColumn;
}

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

bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8SequenceLength(s, i);
    if (!n) return false;
    i += n;
  }
  return true;
}

}  // namespace lngcheck
