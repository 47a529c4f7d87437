#pragma once
// The line below an error box's first line that tells the user, in the user's
// language, what happened and what to do: for the failures of the wizard call
// that a user actually meets.
#include <cstdint>
#include <string>
#include <string_view>

namespace twinsweep {

namespace mMain {

// The source that the wizard call's failures carry to the error box.
constexpr char16_t kWizardCallSource[] = u"mMain.CallQuickWizard";

constexpr char16_t kHintOutlookClosed[] = u"LID_HINT_OUTLOOK_CLOSED";
constexpr char16_t kHintOutlookBusy[] = u"LID_HINT_OUTLOOK_BUSY";
constexpr char16_t kHintNoAnswer[] = u"LID_HINT_NO_ANSWER";
constexpr char16_t kHintNoEnd[] = u"LID_HINT_NO_END";
constexpr char16_t kHintOtherRights[] = u"LID_HINT_OTHER_RIGHTS";
constexpr char16_t kHintNotInstalled[] = u"LID_HINT_NOT_INSTALLED";

// The key of the hint for a failure of the wizard call with that number and
// description; empty when the failure has none.
std::u16string HintKeyOf(int32_t nNumber, std::u16string_view sDescription);

// The source of the shell's failures (help, buyonline), whose one hint says that
// no program is set to open web pages or help files.
constexpr char16_t kShellOpenSource[] = u"mMain.OpenWithShell";
constexpr char16_t kHintNoProgram[] = u"LID_HINT_NO_PROGRAM";

}  // namespace mMain

}  // namespace twinsweep
