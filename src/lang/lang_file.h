#pragma once
// CLangFile: the line reader of language files.
//
// Owns one open file and one fixed block of 4096 bytes, refilled with one
// sequential read at a time; memory use does not depend on the file or on its
// lines. Lines end at CR LF only (a pair split between two refills still counts);
// a lone CR or LF is text. A line longer than the block comes back in pieces of
// at most 4096 bytes. The first read decides the encoding for the whole file:
// UTF-8 when it begins with the byte-order mark (which is never returned as
// text), otherwise the system's ANSI code page. Internal failures are reported
// under "CTextFile." and never escape.
//
// Members are declared in the order of the class's slots.
#include <cstdint>
#include <string>

#include "platform/files.h"

class CLangFile {
 public:
  static constexpr int32_t kBlockSize = 4096;

  CLangFile();   // runs Class_Initialize
  ~CLangFile();  // runs Class_Terminate
  CLangFile(const CLangFile&) = delete;
  CLangFile& operator=(const CLangFile&) = delete;

  // 1. Opens sFilename for sequential reading (closing a file already open).
  bool OpenFile(const std::u16string& sFilename);
  // 2. Windows error code of the last failed open or read; 0 after success.
  int32_t LastError() const { return nLastError; }
  // 3. Closes the file, if any, and empties the block.
  void CloseFile();
  // 4. True once a read has met the end of the file.
  bool FEOF() const { return bEOF; }
  // 5. The next line without its CR LF; false (sLine untouched) when none is left
  // or reading failed: FEOF and LastError then tell which.
  bool ReadLine(std::u16string& sLine);

 private:
  // 6-7. Creation and release.
  void Class_Initialize();
  void Class_Terminate();
  // 8. Cuts the next line out of the block, when the held bytes decide it.
  bool Buffer_GetLine(std::u16string& sLine);
  // 9. The first CR LF at or after nBufPos: nLineEnd at the CR and nNextLine
  // after the LF; nLineEnd is -1 when the held bytes have none.
  void Buffer_FindLineEnd(int32_t& nLineEnd, int32_t& nNextLine);
  // 10. nCount bytes from abBuffer[nStart] as text in the file's encoding, into
  // sOut (whose storage is reused from line to line).
  void Mem2Str(int32_t nStart, int32_t nCount, std::u16string& sOut);
  // 11. Moves the unread bytes to the front and fills the rest from the file.
  bool Buffer_AppendFromFile();

  platform::FileHandle hFile;
  bool bEOF;
  int32_t nLastError;
  int32_t nEncoding;  // -1 not yet known, 0 ANSI code page, 1 UTF-8
  uint8_t abBuffer[kBlockSize];
  int32_t nBufLen;
  int32_t nBufPos;
  // A full block of one line was cut (before a final CR); when the refill begins
  // with CR LF, the pair is that line's end, not an empty line.
  bool bCutBeforeCr;
};
