#include "twinsweep/settings/outlook_preferences.h"

#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

bool NewOutlookSwitchedOn() {
  CWinReg oReg;
  if (!oReg.InitForRead(oReg.HKEY_CURRENT_USER(), kOutlookPreferencesKey)) return false;
  return oReg.ReadDWord(kUseNewOutlookValue, 0) == 1;
}

}  // namespace twinsweep
