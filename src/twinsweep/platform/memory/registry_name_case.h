#pragma once
// How the registry compares names: each UTF-16 unit mapped by one simple
// upper-case mapping, as Windows and Wine do. Unlike a lower-case fold, this
// keeps the dotted capital I (U+0130) apart from i and from the dotless i, and it
// folds every script that has letter case (Armenian, Georgian, circled letters,
// Roman numerals, ...), not only those of the product's languages.
#include <string>
#include <string_view>

namespace twinsweep {

namespace platform {

char16_t RegistryUpcase(char16_t c);
// The name with every unit mapped: equal folds mean the registry's same name.
std::u16string RegistryFold(std::u16string_view sName);

}  // namespace platform

}  // namespace twinsweep
