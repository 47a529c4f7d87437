#include "twinsweep/launcher/outlook_probe.h"

#include "twinsweep/base/failure.h"
#include "twinsweep/launcher/create_process.h"
#include "twinsweep/settings/registry_views.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace mMain {

bool IsOutlookRunning() { return mCreateProcess::MutexExists(kOutlookMutex); }

bool IsAddinRunning() { return mCreateProcess::MutexExists(kAddinMutex); }

// Each key is read in the native view and then in the 32-bit one: 32-bit Office on
// a 64-bit system registers its class (the CLSID key) only in the 32-bit view.
std::u16string GetOutlookPath() {
  std::u16string sPath;
  base::Ignore([&] {
    const int32_t nRoot = CWinReg().HKEY_CLASSES_ROOT();
    const std::u16string sClassId = mRegistryViews::ReadString(nRoot, u"Outlook.Application\\CLSID", u"");
    if (!sClassId.empty())
      sPath = mRegistryViews::ReadExpandedString(nRoot, u"CLSID\\" + sClassId + u"\\LocalServer32", u"");
  });
  if (sPath.empty()) sPath = kOutlookFallbackCommand;
  return sPath;
}

}  // namespace mMain

}  // namespace twinsweep
