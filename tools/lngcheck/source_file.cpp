#include "source_file.h"

#include "platform/files.h"
#include "platform/scoped_handle.h"
#include "platform/text_codec.h"

namespace lngcheck {

namespace {
constexpr char kBom[] = "\xEF\xBB\xBF";
}

bool SourceFile::Read(const std::u16string& sPath) {
  platform::IFiles& files = platform::Files();
  platform::ScopedFile hFile;
  if (files.OpenForRead(sPath, hFile.Receive()) != platform::kErrorSuccess) return false;
  sBytes_.clear();
  uint8_t block[65536];
  for (;;) {
    uint32_t nRead = 0;
    if (files.Read(hFile.Get(), block, sizeof block, &nRead) != platform::kErrorSuccess) return false;
    if (nRead == 0) break;
    sBytes_.append(reinterpret_cast<const char*>(block), nRead);
  }
  bBom_ = sBytes_.compare(0, 3, kBom) == 0;
  CutLines();
  return true;
}

void SourceFile::CutLines() {
  lines_.clear();
  const uint32_t nCodePage = bBom_ ? platform::kCodePageUtf8 : platform::kCodePageAnsi;
  size_t nStart = bBom_ ? 3 : 0;
  // The reader gives no empty line after a final CR LF, nor any line for an empty file.
  while (nStart < sBytes_.size()) {
    size_t nEnd = sBytes_.find("\r\n", nStart);
    if (nEnd == std::string::npos) nEnd = sBytes_.size();
    SourceLine line;
    line.nOffset = nStart;
    line.sBytes = sBytes_.substr(nStart, nEnd - nStart);
    line.sText = platform::DecodeBytes(nCodePage, reinterpret_cast<const uint8_t*>(line.sBytes.data()),
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
  if (!bBom_) return static_cast<int>(nByte) + 1;  // one character per byte in the code pages the files use
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

}  // namespace lngcheck
