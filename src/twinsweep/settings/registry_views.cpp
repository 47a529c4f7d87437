#include "twinsweep/settings/registry_views.h"

#include "twinsweep/platform/environment.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace mRegistryViews {
namespace {

// read(oReg) in the native view, then in the 32-bit view; the first answer other
// than missing wins.
template <class T, class Read>
T FirstInViews(int32_t nRootKey, const std::u16string& strSubKey, const T& missing, Read read) {
  CWinReg oReg;
  for (uint32_t nView : {0u, oReg.KEY_WOW64_32KEY()}) {
    if (!oReg.InitForReadView(nRootKey, strSubKey, nView)) continue;
    T v = read(oReg);
    oReg.CloseKey();
    if (v != missing) return v;
  }
  return missing;
}

}  // namespace

std::u16string ReadString(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName) {
  return FirstInViews<std::u16string>(nRootKey, strSubKey, u"", [&](CWinReg& r) { return r.ReadString(sName); });
}

std::u16string ReadExpandedString(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName) {
  return FirstInViews<std::u16string>(nRootKey, strSubKey, u"", [&](CWinReg& r) {
    std::u16string s = r.ReadString(sName);
    int32_t nType = 0, nSize = 0;
    if (!s.empty() && r.QueryValueInfo(sName, nType, nSize) == platform::kErrorSuccess &&
        nType == static_cast<int32_t>(platform::kRegExpandSz))
      s = platform::Environment().ExpandEnvironment(s);
    return s;
  });
}

int32_t ReadDWord(int32_t nRootKey, const std::u16string& strSubKey, const std::u16string& sName, int32_t nDefault) {
  return FirstInViews<int32_t>(nRootKey, strSubKey, nDefault, [&](CWinReg& r) { return r.ReadDWord(sName, nDefault); });
}

}  // namespace mRegistryViews

}  // namespace twinsweep
