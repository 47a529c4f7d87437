#pragma once
// Access keys in a control's text, as Windows draws them: "&x" underlines x and
// makes it the key, "&&" is one literal ampersand and no key. The first "&x"
// is the key.
#include <string>
#include <string_view>

namespace twinsweep {

namespace base {

/// The key of sText, upper-cased so that keys compare without regard to case;
/// 0 when the text has none (no "&x", only "&&", "& " or a lone "&" at the end).
char16_t AccessKeyOf(std::u16string_view sText);
/// Whether sText marks a key.
inline bool HasAccessKey(std::u16string_view sText) { return AccessKeyOf(sText) != 0; }
/// sText as it is drawn: each "&" that marks a key left out, "&&" as one "&".
std::u16string DrawnText(std::u16string_view sText);

}  // namespace base

}  // namespace twinsweep
