#pragma once
// CLangFile: the line reader of language files.
//
// Owns the bytes of one language file, read whole by OpenFile (at most 16 MiB),
// or borrows bytes already in memory (OpenMemory), and cuts them into lines as
// a reader with a block of 4096 bytes would: lines end at CR LF only, a lone CR
// or LF is text, and a line longer than the block comes back in pieces of at
// most 4096 bytes counted from its first byte. A CR that ends such a piece and
// is followed by an LF ends the line; otherwise it stays in the piece. The
// first bytes decide the encoding for the whole file: UTF-8 when they are the
// byte-order mark (which is never returned as text), otherwise the system's
// ANSI code page. Internal failures are reported under "CTextFile." and never
// escape.
//
// On failure OpenFile answers false with LastError set (223 for a file over the
// bound) and holds no bytes. A read error in the middle of the file is not
// taken for its end: the lines complete before it are returned, then ReadLine
// answers false with FEOF false and LastError set.
//
//   CLangFile oFile;
//   if (!oFile.OpenFile(sPath)) return Report(oFile.LastError());
//   std::u16string sLine;
//   while (!oFile.FEOF() && oFile.ReadLine(sLine)) Use(sLine);
//
// The one-pass loader works on the same cut without decoding every line:
// NextPiece gives the byte range of the next line (or piece), Decode converts
// one, and Rewind goes back to a position where a line began.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "twinsweep/platform/files.h"

namespace twinsweep {

class CLangFile {
 public:
  static constexpr int32_t kBlockSize = 4096;
  // Larger language files are refused: no translation comes near it, and the
  // whole file is held in memory while it is read.
  static constexpr size_t kMaxFileSize = size_t{16} << 20;
  static constexpr int32_t kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE

  CLangFile();   // runs Class_Initialize
  ~CLangFile();  // runs Class_Terminate
  CLangFile(const CLangFile&) = delete;
  CLangFile& operator=(const CLangFile&) = delete;

  // Reads the file sFilename whole (forgetting what was read before) and closes it.
  bool OpenFile(const std::u16string& sFilename);
  // Reads the bytes given instead of a file; they must outlive the reading.
  // More than the bound is refused as OpenFile refuses such a file.
  bool OpenMemory(std::string_view bytes);
  // Windows error code of the last failed open or read; 0 after success.
  int32_t LastError() const { return nLastError; }
  // Forgets the bytes.
  void CloseFile();
  // True once ReadLine has met the end of the bytes.
  bool FEOF() const { return bEOF; }
  // The next line without its CR LF; false (sLine untouched) when none is left
  // or reading failed: FEOF and LastError then tell which.
  bool ReadLine(std::u16string& sLine);

  // A line (or piece of a long line) as a range of the bytes.
  struct Piece {
    size_t nStart = 0;
    size_t nLength = 0;
  };
  // The next piece; false at the end of what can be cut.
  bool NextPiece(Piece& piece);
  // The piece's bytes as text in the file's encoding, into sOut (its storage reused).
  void Decode(const Piece& piece, std::u16string& sOut);
  const uint8_t* Bytes() const { return pData; }
  // Where the next piece begins; Rewind to a value NextPiece left here.
  size_t Position() const { return nPos; }
  void Rewind(size_t nPosition) { nPos = nPosition; }
  // True when a read failed before the end of the file; ReadError is its code.
  bool ReadFailed() const { return bTruncated; }
  int32_t ReadError() const { return nReadError; }
  // True when the cut stopped early: a read failure, or a file of nothing but
  // the byte-order mark, which a reader takes for a failure with 0.
  bool StoppedByFailure() const { return bTruncated || bBomOnly; }
  int32_t FailureNumber() const { return bTruncated ? nReadError : 0; }

 private:
  void Class_Initialize();
  void Class_Terminate();
  // Starts reading pData[0, nLen): decides the encoding and skips the mark.
  void Start();
  // Reads the open file hFile whole into pOwned (nLen bytes); false (with nLastError) when
  // it is too large. A read failure keeps what was read and sets bTruncated.
  bool ReadWhole(platform::FileHandle hFile);

  std::unique_ptr<uint8_t[]> pOwned;  // the file's bytes, when read by OpenFile
  const uint8_t* pData;
  size_t nLen;
  size_t nPos;
  bool bEOF;
  int32_t nLastError;
  int32_t nEncoding;  // 0 ANSI code page, 1 UTF-8
  bool bTruncated;    // a read failed before the end of the file
  int32_t nReadError;
  bool bBomOnly;      // nothing but the byte-order mark
  bool bBomOnlyTold;  // the first ReadLine of such a file has answered
};

}  // namespace twinsweep
