#include "launcher/outlook_probe.h"

#include "base/failure.h"
#include "launcher/create_process.h"
#include "settings/win_reg.h"

namespace mMain {

bool IsOutlookRunning() { return mCreateProcess::MutexExists(kOutlookMutex); }

bool IsAddinRunning() { return mCreateProcess::MutexExists(kAddinMutex); }

std::u16string GetOutlookPath() {
  std::u16string sPath;
  base::Ignore([&] {
    CWinReg oReg;
    if (oReg.InitForRead(oReg.HKEY_CLASSES_ROOT(), u"Outlook.Application\\CLSID")) {
      std::u16string sClassId = oReg.ReadString(u"");
      if (!sClassId.empty()) {
        oReg.CloseKey();
        if (oReg.InitForRead(oReg.HKEY_CLASSES_ROOT(), u"CLSID\\" + sClassId + u"\\LocalServer32"))
          sPath = oReg.ReadString(u"");
      }
      oReg.CloseKey();
    }
  });
  if (sPath.empty()) sPath = kOutlookFallbackCommand;
  return sPath;
}

}  // namespace mMain
