#pragma once
// The consumer's own base/text.h: a header and a namespace named like the
// engine's (twinsweep/base/text.h, twinsweep::base), with a Variant of its own.
// Found first on the include path: an engine header that included
// "base/text.h" would get this one and break.
#include <string>

namespace base {

using Variant = std::string;

// The ASCII of a UTF-16 text, anything else as '?'.
inline std::string Narrow(const std::u16string& s) {
  std::string o;
  for (char16_t c : s) o += c < 0x80 ? static_cast<char>(c) : '?';
  return o;
}

}  // namespace base
