#pragma once
// The program's paths ("\" separated, UTF-16) as Linux paths (UTF-8, "/").
#include <algorithm>
#include <string>
#include <string_view>

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace platform::posix {

// A path with an inner NUL names no file, as on Windows: it becomes the empty path,
// which every call answers as missing.
inline std::string NativePath(std::u16string_view sPath) {
  if (sPath.find(u'\0') != std::u16string_view::npos) return std::string();
  std::string p = base::ToUtf8(sPath);
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

}  // namespace platform::posix

}  // namespace twinsweep
