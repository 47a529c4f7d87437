// Any bytes as a file, read line by line, against a plain model: the file
// (without a leading UTF-8 byte-order mark) split at each CR LF, a last line
// without CR LF kept when not empty. Every model line must come back whole when
// it fits the reader's block with its CR LF, or else in non-empty pieces of at
// most one block that join to it. The text codec is replaced by one that keeps
// every byte recognisable, so that the comparison is of bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/lang/lang_file.h"
#include "memory_files.h"
#include "twinsweep/platform/text_codec.h"

using namespace twinsweep;

namespace {

// ASCII as itself, every other byte as U+F700 + byte: decoding loses nothing.
class ByteKeepingCodec : public platform::ITextCodec {
 public:
  int32_t MultiByteToWide(uint32_t, const uint8_t* p, int32_t n, char16_t* pOut, int32_t nCapacity,
                          int32_t* pnLastError) override {
    if (!pOut) return n;
    if (nCapacity < n) {
      *pnLastError = platform::kErrorInvalidParameter;
      return 0;
    }
    for (int32_t i = 0; i < n; ++i) pOut[i] = p[i] < 0x80 ? p[i] : static_cast<char16_t>(0xF700 + p[i]);
    return n;
  }
  std::string WideToMultiByte(uint32_t, std::u16string_view) override { return {}; }
  uint32_t AnsiCodePage() override { return 1252; }
};

std::string ToBytes(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x80 && (c < 0xF780 || c > 0xF7FF)) __builtin_trap();  // not a byte of the file
    out += static_cast<char>(c < 0x80 ? c : c - 0xF700);
  }
  return out;
}

std::vector<std::string> ModelLines(const std::string& file) {
  size_t p = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::vector<std::string> lines;
  for (;;) {
    const size_t e = file.find("\r\n", p);
    if (e == std::string::npos) break;
    lines.push_back(file.substr(p, e - p));
    p = e + 2;
  }
  if (p < file.size()) lines.push_back(file.substr(p));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz_support::MemoryFiles files;
  static ByteKeepingCodec codec;
  platform::ScopedOverride<platform::IFiles> useFiles(files);
  platform::ScopedOverride<platform::ITextCodec> useCodec(codec);
  const std::string file(reinterpret_cast<const char*>(data), size);
  files.Put(u"C:\\t.lng", file);

  std::vector<std::string> pieces;
  {
    CLangFile reader;
    if (!reader.OpenFile(u"C:\\t.lng")) __builtin_trap();
    std::u16string line;
    while (reader.ReadLine(line)) pieces.push_back(ToBytes(line));
    // A file of nothing but the byte-order mark ends before the end is seen.
    if ((!reader.FEOF() && size > 3) || reader.LastError() != 0) __builtin_trap();
  }
  if (files.OpenHandles() != 0 || base::HasPending()) __builtin_trap();

  size_t k = 0;
  for (const std::string& want : ModelLines(file)) {
    if (k >= pieces.size()) __builtin_trap();  // a line lost
    if (want.size() + 2 <= static_cast<size_t>(CLangFile::kBlockSize)) {
      if (pieces[k++] != want) __builtin_trap();
      continue;
    }
    std::string joined;
    while (joined.size() < want.size() && k < pieces.size()) {
      const std::string& piece = pieces[k++];
      if (piece.empty() || piece.size() > static_cast<size_t>(CLangFile::kBlockSize)) __builtin_trap();
      joined += piece;
    }
    if (joined != want) __builtin_trap();
  }
  if (k != pieces.size()) __builtin_trap();  // a line made up
  return 0;
}
