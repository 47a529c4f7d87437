// Any text as a format with a few parameters of every kind: escapes and
// placeholders, numbered ones among them, must resolve without crashing and
// without a failure escaping. The same text as a plural rule must parse within
// its bounds or be refused, and a rule that parses must give every count a form
// below its number of forms.
#include <cstdint>
#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/lang/plural_rule.h"

using namespace twinsweep;


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  base::VariantList params{base::Variant(3), base::Variant(u"a%s\\n"), base::Variant(2.5), base::Variant(true),
                           base::Variant::Null(), base::Variant(1e300)};
  sprintf1(text, params);
  sprintf1(text, {base::Variant(params)});
  sprintf2(text);
  std::u16string value(TrimBlanksView(std::u16string_view(text).substr(0, CommentCut(text)))), error;
  UnquoteValue(value, error);
  PluralRule rule;
  std::u16string why;
  const bool bParsed = rule.Parse(text, &why);
  if (bParsed == !why.empty()) __builtin_trap();
  for (uint64_t n : {uint64_t{0}, uint64_t{1}, uint64_t{2}, uint64_t{5}, uint64_t{11}, uint64_t{21}, uint64_t{101},
                     UINT64_MAX}) {
    const int32_t form = rule.FormFor(n);
    if (form < 0 || form >= rule.Forms()) __builtin_trap();
  }
  if (base::HasPending()) __builtin_trap();
  return 0;
}
