#pragma once
// Pseudo-localization: a language file made from a reference for layout tests.
// Every text is wrapped in [ ], its letters accented and padded by about 30 % with
// "·", its placeholders, escapes and "%%" left as they are, so that it formats as
// the reference does and shows at a glance where a caption is cut or left unlocalized.
#include <string>

#include "checks.h"

namespace lngcheck {

// One text made pseudo; an empty text stays empty.
std::u16string PseudoText(const std::u16string& sText);
// The whole file, as UTF-8 with a byte-order mark and CR LF line ends: the
// reference's lines, with the texts of its listed sub-sections made pseudo (in form
// sub-sections only captions and tool tips), lang "Pseudo" and langid "XX".
// Mirrored, as Windows' mirrored pseudo-locale is: the same texts in a language
// written right to left (direction "rtl"), lang "Pseudo mirrored" and langid "XM",
// so that a developer who reads no Arabic or Hebrew sees what mirroring does.
std::string PseudoFile(const CheckedFile& reference, const std::u16string& sMainSection, bool bMirrored = false);

}  // namespace lngcheck
