#include "twinsweep/platform/text_codec.h"

#include <climits>

namespace twinsweep {

namespace platform {

bool DecodeBytesInto(uint32_t nCodePage, const uint8_t* pBytes, size_t nBytes, std::u16string& sOut, int32_t* pnStep,
                     int32_t* pnLastError) {
  sOut.clear();
  if (nBytes == 0) return true;
  int32_t nError = 0, nStep = 1;
  if (nBytes <= static_cast<size_t>(INT_MAX)) {
    ITextCodec& codec = TextCodec();
    const int32_t nCount = static_cast<int32_t>(nBytes);
    int32_t n = codec.MultiByteToWide(nCodePage, pBytes, nCount, nullptr, 0, &nError);
    if (n > 0) {
      nStep = 2;
      sOut.resize(static_cast<size_t>(n));
      int32_t m = codec.MultiByteToWide(nCodePage, pBytes, nCount, sOut.data(), n, &nError);
      if (m > 0) {
        sOut.resize(static_cast<size_t>(m));
        return true;
      }
      sOut.clear();
    }
  }
  if (pnStep) *pnStep = nStep;
  if (pnLastError) *pnLastError = nError;
  return false;
}

std::u16string DecodeBytes(uint32_t nCodePage, const uint8_t* pBytes, size_t nBytes) {
  std::u16string s;
  DecodeBytesInto(nCodePage, pBytes, nBytes, s);
  return s;
}

}  // namespace platform

}  // namespace twinsweep
