#include "platform/text_codec.h"

#include <climits>

namespace platform {

std::u16string DecodeBytes(uint32_t nCodePage, const uint8_t* pBytes, size_t nBytes) {
  if (nBytes == 0 || nBytes > static_cast<size_t>(INT_MAX)) return {};
  int32_t nError = 0;
  ITextCodec& codec = TextCodec();
  int32_t n = codec.MultiByteToWide(nCodePage, pBytes, static_cast<int32_t>(nBytes), nullptr, 0, &nError);
  if (n <= 0) return {};
  std::u16string s(static_cast<size_t>(n), u'\0');
  n = codec.MultiByteToWide(nCodePage, pBytes, static_cast<int32_t>(nBytes), s.data(), n, &nError);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

}  // namespace platform
