#include "twinsweep/launcher/show_box.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/desktop.h"

namespace twinsweep {

namespace mMain {

std::u16string CutAtNul(const std::u16string& s, const char16_t* szWhat) {
  const size_t n = s.find(u'\0');
  if (n == std::u16string::npos) return s;
  LogDebug(u"mMain.ShowBox", std::u16string(u"the box's ") + szWhat + u" was cut at its NUL, after " +
                                 base::LongToText(static_cast<int64_t>(n)) + u" of " +
                                 base::LongToText(static_cast<int64_t>(s.size())) + u" characters");
  return s.substr(0, n);
}

int32_t ShowBox(const std::u16string& sText, const std::u16string& sCaption, uint32_t nFlags) {
  return platform::Dialogs().ShowMessageBox(CutAtNul(sText, u"text"), CutAtNul(sCaption, u"caption"), nFlags);
}

int32_t ShowBox(const UserTexts& texts, const std::u16string& sText, const std::u16string& sCaption, uint32_t nFlags) {
  const uint32_t nDirection = texts.BoxFlags();
  // Noted, since not every system shows it: Wine draws such a box as any other.
  if (nDirection != 0) LogDebug(u"mMain.ShowBox", u"the box reads right to left (MB_RTLREADING | MB_RIGHT)");
  return ShowBox(sText, sCaption, nFlags | nDirection);
}

}  // namespace mMain

}  // namespace twinsweep
