// Any text as a format with any list of parameters (any kind, any value, nested
// lists): the result is composed or the format comes back, never a crash, and
// no failure is left pending. A text without "%" and "\" comes back unchanged.
#include <cstdint>
#include <cstring>
#include <string>

#include "twinsweep/base/failure.h"
#include "fuzz_input.h"
#include "twinsweep/lang/lang_format.h"

using namespace twinsweep;

namespace {

base::Variant AnyValue(fuzz_support::FuzzInput& in, int nDepth) {
  switch (in.Byte() % 8) {
    case 0: return base::Variant();
    case 1: return base::Variant::Null();
    case 2: return base::Variant(in.Byte() % 2 == 1);
    case 3: return base::Variant(static_cast<int32_t>(in.U32()));
    case 4: {
      const uint64_t bits = uint64_t{in.U32()} | uint64_t{in.U32()} << 32;
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return base::Variant(d);
    }
    case 5: {
      const uint64_t bits = uint64_t{in.U32()} | uint64_t{in.U32()} << 32;
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return base::Variant(base::Date{d});
    }
    case 6: return base::Variant(in.Text(64));
    default: {
      base::VariantList list;
      const int n = nDepth < 3 ? in.Byte() % 4 : 0;
      for (int i = 0; i < n; ++i) list.push_back(AnyValue(in, nDepth + 1));
      return base::Variant(list);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzInput in(data, size);
  base::VariantList params;
  const int nParams = in.Byte() % 8;
  for (int i = 0; i < nParams; ++i) params.push_back(AnyValue(in, 0));
  const std::u16string format = in.RestAsText();
  const std::u16string out = sprintf1(format, params);
  if (base::HasPending()) __builtin_trap();
  if (format.find_first_of(u"%\\") == std::u16string::npos && out != format) __builtin_trap();
  return 0;
}
