// Windows implementation of the program's string table: the executable's
// STRINGTABLE resource.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/platform/string_table.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32StringTable : public IStringTable {
 public:
  std::optional<std::u16string> String(uint32_t nId) override {
    // With a length of 0 the system answers a pointer into the resource itself,
    // and the string's length: no buffer can cut a long text short.
    const wchar_t* p = nullptr;
    const int n = ::LoadStringW(::GetModuleHandleW(nullptr), nId, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) return std::nullopt;
    return win32::FromWide(p, static_cast<size_t>(n));
  }
};

}  // namespace

template <>
IStringTable& Default<IStringTable>() {
  return StaticInstance<Win32StringTable>();
}

}  // namespace platform

}  // namespace twinsweep
