#include "twinsweep/lang/lang_file.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "twinsweep/base/error_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/text_codec.h"

namespace twinsweep {

namespace {

constexpr uint8_t kCr = 13;
constexpr uint8_t kLf = 10;

// Runs one member's body; an unexpected failure is reported under the member's
// name and the member answers its failure value, the reader keeping its state.
template <class R, class F>
R Guarded(const char16_t* sSource, R failValue, F&& body) {
  try {
    return body();
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(sSource, -1);
    return failValue;
  }
}

bool IsAscii(const uint8_t* p, size_t n) {
  // Eight bytes at a time: language files are mostly ASCII, and the check is
  // what decides whether a line needs the code-page service at all.
  uint64_t acc = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    acc |= w;
  }
  for (; i < n; ++i) acc |= p[i];
  return (acc & 0x8080808080808080ull) == 0;
}

// ASCII is the same in UTF-8 and in every ANSI code page, so it is widened
// directly.
void WidenAscii(const uint8_t* p, size_t n, std::u16string& sOut) {
  sOut.resize(n);
  char16_t* d = sOut.data();
  for (size_t i = 0; i < n; ++i) d[i] = p[i];
}

// The first CR LF pair in [p, pEnd) whose CR stands before pEnd - 1, or null.
const uint8_t* FindCrLf(const uint8_t* p, const uint8_t* pEnd) {
  const uint8_t* pLast = pEnd - 1;
  while (p < pLast) {
    const void* hit = std::memchr(p, kCr, static_cast<size_t>(pLast - p));
    if (!hit) return nullptr;
    const uint8_t* cr = static_cast<const uint8_t*>(hit);
    if (cr[1] == kLf) return cr;
    p = cr + 1;
  }
  return nullptr;
}

}  // namespace

CLangFile::CLangFile() { Class_Initialize(); }

CLangFile::~CLangFile() { Class_Terminate(); }

bool CLangFile::OpenFile(const std::u16string& sFilename) {
  CloseFile();
  platform::ScopedFile hFile;
  int32_t nStatus = platform::Files().OpenForRead(sFilename, hFile.Receive());
  if (nStatus != platform::kErrorSuccess || hFile.Get() == platform::kInvalidFile) {
    nLastError = nStatus != platform::kErrorSuccess ? nStatus : platform::kErrorInvalidHandle;
    return false;
  }
  if (!ReadWhole(hFile.Get())) return false;
  pData = pOwned.get();
  Start();
  return true;
}

bool CLangFile::OpenMemory(std::string_view bytes) {
  CloseFile();
  if (bytes.size() > kMaxFileSize) {
    nLastError = kErrorFileTooLarge;
    return false;
  }
  pData = reinterpret_cast<const uint8_t*>(bytes.data());
  nLen = bytes.size();
  Start();
  return true;
}

void CLangFile::CloseFile() {
  pOwned.reset();
  pData = nullptr;
  nLen = 0;
  nPos = 0;
  bEOF = false;
  nLastError = 0;
  nEncoding = 0;
  bTruncated = false;
  nReadError = 0;
  bBomOnly = false;
  bBomOnlyTold = false;
}

bool CLangFile::ReadLine(std::u16string& sLine) {
  return Guarded(u"CTextFile.ReadLine", false, [&] {
    Piece piece;
    if (NextPiece(piece)) {
      Decode(piece, sLine);
      return true;
    }
    if (bTruncated) {
      nLastError = nReadError;
    } else if (bBomOnly && !bBomOnlyTold) {
      // The block that held only the mark gave no line, though the end of
      // the file was not seen yet: the caller hears of a failure with 0.
      bBomOnlyTold = true;
    } else {
      bEOF = true;
    }
    return false;
  });
}

bool CLangFile::NextPiece(Piece& piece) {
  if (nPos >= nLen) return false;
  const size_t nWindow = std::min(nLen - nPos, static_cast<size_t>(kBlockSize));
  const uint8_t* pStart = pData + nPos;
  if (const uint8_t* cr = FindCrLf(pStart, pStart + nWindow)) {
    piece = Piece{nPos, static_cast<size_t>(cr - pStart)};
    nPos += piece.nLength + 2;
    return true;
  }
  if (nWindow < static_cast<size_t>(kBlockSize)) {
    if (bTruncated) return false;  // the rest of the line was never read
    piece = Piece{nPos, nWindow};
    nPos = nLen;
    return true;
  }
  // A whole block without a line end is a piece of a longer line. A CR at its
  // end followed by an LF ends the line; any other CR stays in the piece.
  const size_t nEnd = nPos + kBlockSize;
  if (pData[nEnd - 1] == kCr) {
    if (nEnd < nLen && pData[nEnd] == kLf) {
      piece = Piece{nPos, static_cast<size_t>(kBlockSize - 1)};
      nPos = nEnd + 1;
      return true;
    }
    if (nEnd == nLen && bTruncated) return false;  // the byte after the CR was never read
  }
  piece = Piece{nPos, static_cast<size_t>(kBlockSize)};
  nPos = nEnd;
  // A CR LF right after the block ends this line; it is no empty line of its own.
  if (nLen - nPos >= 2 && pData[nPos] == kCr && pData[nPos + 1] == kLf) nPos += 2;
  return true;
}

void CLangFile::Decode(const Piece& piece, std::u16string& sOut) {
  Guarded(u"CTextFile.Mem2Str", 0, [&] {
    sOut.clear();
    if (piece.nLength < 1) return 0;
    const uint8_t* pBytes = pData + piece.nStart;
    if (IsAscii(pBytes, piece.nLength)) {
      WidenAscii(pBytes, piece.nLength, sOut);
      return 0;
    }
    if (nEncoding == 1) {
      int32_t nStep = 0, nLastErr = 0;
      if (platform::DecodeBytesInto(platform::kCodePageUtf8, pBytes, piece.nLength, sOut, &nStep, &nLastErr)) return 0;
      mMain::LogError(u"CTextFile.Mem2Str", nLastErr,
                      std::u16string(nStep == 1 ? u"MultiByteToWideChar failed" : u"MultiByteToWideChar(2) failed"));
    }
    // Reached also after a failed UTF-8 conversion, which the assertion records.
    mMain::AssertTrue(nEncoding == 0, u"CTextFile.Mem2Str", u"269");
    platform::DecodeBytesInto(platform::kCodePageAnsi, pBytes, piece.nLength, sOut);
    return 0;
  });
}

void CLangFile::Class_Initialize() {
  pData = nullptr;
  CloseFile();
}

void CLangFile::Class_Terminate() { CloseFile(); }

void CLangFile::Start() {
  nPos = 0;
  nEncoding = 0;
  if (nLen >= 3 && pData[0] == 0xEF && pData[1] == 0xBB && pData[2] == 0xBF) {
    nEncoding = 1;
    nPos = 3;
    bBomOnly = nLen == 3 && !bTruncated;
  }
}

bool CLangFile::ReadWhole(platform::FileHandle hFile) {
  // The size is a first guess only: the file may change while it is read, and
  // a read may legally deliver fewer bytes than asked for (a network share), so
  // only a read of nothing is the end of the file. One byte more than the size
  // is asked for, so that the end is seen without a second buffer, and one
  // more than the bound, to tell a file of exactly 16 MiB from a larger one. A
  // file that outgrows the buffer moves to one twice as large.
  platform::IFiles& files = platform::Files();
  uint64_t nSize = 0;
  size_t nCapacity = 64 * 1024;
  if (files.GetSize(hFile, &nSize) == platform::kErrorSuccess)
    nCapacity = static_cast<size_t>(std::min<uint64_t>(nSize, kMaxFileSize)) + 1;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[nCapacity]);  // filled by the reads: no zeroing
  size_t nTotal = 0;
  for (;;) {
    if (nTotal == nCapacity) {
      const size_t nNext = std::min(nCapacity * 2, kMaxFileSize + 1);
      std::unique_ptr<uint8_t[]> larger(new uint8_t[nNext]);
      std::memcpy(larger.get(), buffer.get(), nTotal);
      buffer = std::move(larger);
      nCapacity = nNext;
    }
    const uint32_t nWant = static_cast<uint32_t>(nCapacity - nTotal);
    uint32_t nRead = 0;
    int32_t nStatus = files.Read(hFile, buffer.get() + nTotal, nWant, &nRead);
    if (nStatus == platform::kErrorHandleEof) break;
    if (nStatus != platform::kErrorSuccess) {
      bTruncated = true;
      nReadError = nStatus;
      break;
    }
    if (nRead == 0) break;
    nTotal += std::min(nRead, nWant);  // a misbehaving service
    if (nTotal > kMaxFileSize) {
      nLastError = kErrorFileTooLarge;
      bTruncated = false;
      return false;
    }
  }
  pOwned = std::move(buffer);
  nLen = nTotal;
  return true;
}

}  // namespace twinsweep
