#pragma once
// The writing direction of a language, from its language id.
#include <string_view>

namespace twinsweep {

/// True when the language of sLangID ("AR", "he", "pa-Arab", "fa_IR") is written
/// right to left by CLDR's characterOrder. The id's language subtag decides, or
/// its language and script when it names a script ("uz-Arab" is, "uz" is not);
/// case and "-" or "_" do not matter. An unknown or empty id is left to right.
bool IsRightToLeftLanguage(std::u16string_view sLangID);

}  // namespace twinsweep
