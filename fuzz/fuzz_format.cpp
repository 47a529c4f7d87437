// Any text as a format with a few parameters of every kind: escapes and
// placeholders must resolve without crashing and without a failure escaping.
#include <cstdint>
#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/lang/lang.h"
#include "testable_lang.h"

using namespace twinsweep;


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  TestableLang lang;
  base::VariantList params{base::Variant(3), base::Variant(u"a%s\\n"), base::Variant(2.5), base::Variant(true),
                           base::Variant::Null(), base::Variant(1e300)};
  lang.sprintf1(text, params);
  lang.sprintf1(text, {base::Variant(params)});
  lang.sprintf2(text);
  std::u16string value = lang.TrimBlanks(lang.StripComment(text)), error;
  lang.Unquote(value, error);
  if (base::HasPending()) __builtin_trap();
  return 0;
}
