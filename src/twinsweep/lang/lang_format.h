#pragma once
// The engine's two formatters, which every text and message passes through, and
// the character-set search of its parser. None of them lets a failure reach its
// caller: problems are reported to the error log and a usable text comes back.
// Not installed with the engine's public headers.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/base/variant.h"

namespace twinsweep {

/// Position (from 1) of the first of sChars in sText at or after nStart; 0 when none.
int32_t InStrAny(std::u16string_view sText, std::u16string_view sChars, int32_t nStart);
/// Escapes resolved, then "%s", "%d" and "%%" filled from sprintf_params;
/// with bIsolate each value isolated from the text around it (lang_format.cpp).
std::u16string sprintf1(std::u16string_view sFormat, const base::VariantList& sprintf_params, bool bIsolate = false);
/// Backslash escapes resolved: "\\", "\n", "\t" and a backslash before a quote.
std::u16string sprintf2(std::u16string_view sText);

}  // namespace twinsweep
