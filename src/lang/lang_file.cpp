#include "lang/lang_file.h"

#include <cstring>

#include "base/failure.h"
#include "base/error_log.h"
#include "platform/text_codec.h"

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

}  // namespace

CLangFile::CLangFile() { Class_Initialize(); }

CLangFile::~CLangFile() { Class_Terminate(); }

bool CLangFile::OpenFile(const std::u16string& sFilename) {
  CloseFile();
  nEncoding = -1;
  nBufLen = 0;
  nBufPos = 0;
  bEOF = false;
  bCutBeforeCr = false;
  platform::FileHandle h = platform::kInvalidFile;
  int32_t nStatus = platform::Files().OpenForRead(sFilename, &h);
  if (nStatus != platform::kErrorSuccess || h == platform::kInvalidFile) {
    nLastError = nStatus != platform::kErrorSuccess ? nStatus : platform::kErrorInvalidHandle;
    return false;
  }
  hFile = h;
  nLastError = 0;
  return true;
}

void CLangFile::CloseFile() {
  if (hFile != platform::kInvalidFile) {
    platform::Files().Close(hFile);
    hFile = platform::kInvalidFile;
    nLastError = 0;
  }
  nBufLen = 0;
  nBufPos = 0;
  bCutBeforeCr = false;
}

bool CLangFile::ReadLine(std::u16string& sLine) {
  return Guarded(u"CTextFile.ReadLine", false, [&] {
    if (Buffer_GetLine(sLine)) return true;
    if (Buffer_AppendFromFile()) {
      if (Buffer_GetLine(sLine)) return true;
      if (nBufLen - nBufPos < 1) return false;
      // Only the first refill of a file can add bytes and still leave a line
      // undecided: the byte-order mark took the block's first bytes, so a first
      // line without an end in the block needs one more refill, or reading
      // would stop there with nothing read.
      if (Buffer_AppendFromFile()) return Buffer_GetLine(sLine);
    }
    if (bEOF && nBufLen - nBufPos > 0) {
      Mem2Str(nBufPos, nBufLen - nBufPos, sLine);
      nBufPos = nBufLen;
      return true;
    }
    return false;
  });
}

void CLangFile::Class_Initialize() {
  hFile = platform::kInvalidFile;
  bEOF = false;
  nLastError = 0;
  nEncoding = -1;
  nBufLen = 0;
  nBufPos = 0;
  bCutBeforeCr = false;
}

void CLangFile::Class_Terminate() { CloseFile(); }

bool CLangFile::Buffer_GetLine(std::u16string& sLine) {
  return Guarded(u"CTextFile.Buffer_GetLine", false, [&] {
    if (bCutBeforeCr && nBufLen - nBufPos >= 2) {
      bCutBeforeCr = false;
      if (abBuffer[nBufPos] == kCr && abBuffer[nBufPos + 1] == kLf) nBufPos += 2;
    }
    if (nBufLen - nBufPos < 1) return false;
    int32_t nLineEnd = -1;
    int32_t nNextLine = -1;
    Buffer_FindLineEnd(nLineEnd, nNextLine);
    if (nLineEnd < 0) {
      if (nBufLen < kBlockSize) {
        nLineEnd = nBufLen;
        nNextLine = nBufLen;
      } else if (nBufPos == 0) {
        // A full block without a line end is a piece of a longer line. When
        // it ends in CR the next byte may be its LF: keep the CR for the refill
        // to decide, so the pair is not torn into a CR in this line and an LF
        // at the start of the next. Either way a CR LF that the refill begins
        // with ends this line; it is no empty line of its own.
        nLineEnd = nBufLen;
        if (abBuffer[nBufLen - 1] == kCr) nLineEnd = nBufLen - 1;
        bCutBeforeCr = true;
        nNextLine = nLineEnd;
      } else {
        return false;
      }
    }
    Mem2Str(nBufPos, nLineEnd - nBufPos, sLine);
    nBufPos = nNextLine;
    return true;
  });
}

void CLangFile::Buffer_FindLineEnd(int32_t& nLineEnd, int32_t& nNextLine) {
  nLineEnd = -1;
  nNextLine = -1;
  Guarded(u"CTextFile.Buffer_FindLineEnd", 0, [&] {
    // A CR held as the last byte is not a line end yet: its LF may come with
    // the next read.
    const uint8_t* p = abBuffer + nBufPos;
    const uint8_t* pLast = abBuffer + nBufLen - 1;
    while (p < pLast) {
      const void* hit = std::memchr(p, kCr, static_cast<size_t>(pLast - p));
      if (!hit) break;
      const uint8_t* cr = static_cast<const uint8_t*>(hit);
      if (cr[1] == kLf) {
        nLineEnd = static_cast<int32_t>(cr - abBuffer);
        nNextLine = nLineEnd + 2;
        break;
      }
      p = cr + 1;
    }
    return 0;
  });
}

void CLangFile::Mem2Str(int32_t nStart, int32_t nCount, std::u16string& sOut) {
  Guarded(u"CTextFile.Mem2Str", 0, [&] {
    sOut.clear();
    if (nCount < 1) return 0;
    const uint8_t* pBytes = abBuffer + nStart;
    if (IsAscii(pBytes, static_cast<size_t>(nCount))) {
      WidenAscii(pBytes, static_cast<size_t>(nCount), sOut);
      return 0;
    }
    platform::ITextCodec& codec = platform::TextCodec();
    if (nEncoding == 1) {
      int32_t nLastErr = 0;
      int32_t n = codec.MultiByteToWide(platform::kCodePageUtf8, pBytes, nCount, nullptr, 0, &nLastErr);
      if (n <= 0) {
        mMain::LogError(u"CTextFile.Mem2Str", nLastErr, std::u16string(u"MultiByteToWideChar failed"));
      } else {
        sOut.resize(static_cast<size_t>(n));
        int32_t m = codec.MultiByteToWide(platform::kCodePageUtf8, pBytes, nCount, sOut.data(), n, &nLastErr);
        if (m != 0) {
          sOut.resize(static_cast<size_t>(m));
          return 0;
        }
        sOut.clear();
        mMain::LogError(u"CTextFile.Mem2Str", nLastErr, std::u16string(u"MultiByteToWideChar(2) failed"));
      }
    } else if (nEncoding != 0) {
      mMain::AssertTrue(false, u"CTextFile.Mem2Str", u"283");
      return 0;
    }
    // Reached also after a failed UTF-8 conversion, which the assertion records.
    mMain::AssertTrue(nEncoding == 0, u"CTextFile.Mem2Str", u"269");
    int32_t nLastErr = 0;
    int32_t n = codec.MultiByteToWide(platform::kCodePageAnsi, pBytes, nCount, nullptr, 0, &nLastErr);
    if (n > 0) {
      sOut.resize(static_cast<size_t>(n));
      int32_t m = codec.MultiByteToWide(platform::kCodePageAnsi, pBytes, nCount, sOut.data(), n, &nLastErr);
      sOut.resize(static_cast<size_t>(m > 0 ? m : 0));
    }
    return 0;
  });
}

bool CLangFile::Buffer_AppendFromFile() {
  return Guarded(u"CTextFile.Buffer_AppendFromFile", false, [&] {
    if (bEOF) {
      mMain::AssertTrue(nBufPos >= nBufLen, u"CTextFile.Buffer_AppendFromFile", u"195");
      return false;
    }
    if (nBufPos > 0) {
      int32_t nHeld = nBufLen - nBufPos;
      if (nHeld > 0) std::memmove(abBuffer, abBuffer + nBufPos, static_cast<size_t>(nHeld));
      nBufLen = nHeld;
      nBufPos = 0;
    }
    int32_t nRoom = kBlockSize - nBufLen;
    if (nRoom <= 0) {
      mMain::AssertTrue(false, u"CTextFile.Buffer_AppendFromFile", u"217");
      return false;
    }
    uint32_t nRead = 0;
    bool bResult = true;
    int32_t nStatus = platform::Files().Read(hFile, abBuffer + nBufLen, static_cast<uint32_t>(nRoom), &nRead);
    if (nStatus == platform::kErrorSuccess) {
      bEOF = nRead == 0;
    } else {
      nRead = 0;
      nLastError = nStatus;
      bResult = false;
      if (nStatus == platform::kErrorHandleEof) {
        bEOF = true;
        nLastError = 0;
      }
    }
    if (nRead > static_cast<uint32_t>(nRoom)) nRead = static_cast<uint32_t>(nRoom);  // a misbehaving service
    nBufLen += static_cast<int32_t>(nRead);
    if (bEOF) bResult = false;
    if (nEncoding == -1) {
      mMain::AssertTrue(nRoom == kBlockSize, u"CTextFile.Buffer_AppendFromFile", u"332");
      if (nRead >= 3 && abBuffer[0] == 0xEF && abBuffer[1] == 0xBB && abBuffer[2] == 0xBF) {
        nEncoding = 1;
        nBufPos = 3;
      } else {
        nEncoding = 0;
      }
    }
    return bResult;
  });
}
