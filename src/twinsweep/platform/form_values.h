#pragma once
// How a window framework's numeric properties take a value: the same rules for
// every framework, so that a language file moves a control alike everywhere.
#include "twinsweep/base/variant.h"

namespace twinsweep {

namespace platform {

// The value as a number: numbers as they are, a text that reads as one, Empty as
// 0, a boolean as -1 or 0; 13 for anything else, 94 for Null.
double PropertyNumber(const base::Variant& vValue);

}  // namespace platform

}  // namespace twinsweep
