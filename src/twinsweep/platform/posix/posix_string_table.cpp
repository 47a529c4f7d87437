// The native build's string table: it has no executable resources, so no built-in
// text; tests put a double in its place.
#include "twinsweep/platform/string_table.h"

namespace twinsweep {

namespace platform {
namespace {

class NoStringTable : public IStringTable {
 public:
  std::optional<std::u16string> String(uint32_t) override { return std::nullopt; }
};

}  // namespace

template <>
IStringTable& Default<IStringTable>() {
  return StaticInstance<NoStringTable>();
}

}  // namespace platform

}  // namespace twinsweep
