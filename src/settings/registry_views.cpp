#include "settings/registry_views.h"

#include "settings/win_reg.h"

namespace mRegistryViews {

std::u16string ReadString(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName) {
  CWinReg oReg;
  for (uint32_t nView : {0u, oReg.KEY_WOW64_32KEY()}) {
    if (!oReg.InitForReadView(nRootKey, strSubKey, nView)) continue;
    std::u16string s = oReg.ReadString(sName);
    oReg.CloseKey();
    if (!s.empty()) return s;
  }
  return u"";
}

}  // namespace mRegistryViews
