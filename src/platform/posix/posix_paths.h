#pragma once
// The program's paths ("\" separated, UTF-16) as Linux paths (UTF-8, "/").
#include <algorithm>
#include <string>
#include <string_view>

#include "base/text.h"

namespace platform::posix {

inline std::string NativePath(std::u16string_view sPath) {
  std::string p = base::ToUtf8(sPath);
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

}  // namespace platform::posix
