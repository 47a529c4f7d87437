#pragma once
// The one way the launcher shows a message box.
#include <cstdint>
#include <string>

namespace twinsweep {

namespace mMain {

class UserTexts;

// Shows a box with sText and sCaption (platform::kMbYesNo, kMbOk, ...) and answers
// the button pressed. Each text is cut at its first NUL, as the system's own
// string readers cut it, so that a text holding one is shown up to it rather than
// not at all; the cut is a debug note.
int32_t ShowBox(const std::u16string& sText, const std::u16string& sCaption, uint32_t nFlags);
// The same for a box in the language of texts, which adds its box flags: a box
// in Arabic or Hebrew reads right to left, which is a debug note. Every box of the
// launcher goes here.
int32_t ShowBox(const UserTexts& texts, const std::u16string& sText, const std::u16string& sCaption, uint32_t nFlags);

// s up to its first NUL (all of it when it has none); a cut is a debug note
// naming szWhat ("text", "caption").
std::u16string CutAtNul(const std::u16string& s, const char16_t* szWhat);

}  // namespace mMain

}  // namespace twinsweep
