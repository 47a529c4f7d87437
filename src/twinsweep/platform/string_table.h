#pragma once
// The program's own string table: texts built into the executable (on Windows its
// STRINGTABLE resource), which no file beside it can take away or spoil.
#include <cstdint>
#include <optional>
#include <string>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IStringTable {
 public:
  virtual ~IStringTable() = default;
  // LoadStringW of the program's own module: the string nId; none when the table
  // has no string of that ID (an empty string counts as none).
  virtual std::optional<std::u16string> String(uint32_t nId) = 0;
};

template <>
IStringTable& Default<IStringTable>();
inline IStringTable& StringTable() { return Get<IStringTable>(); }

}  // namespace platform

}  // namespace twinsweep
