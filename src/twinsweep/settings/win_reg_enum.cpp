// CWinReg: enumeration of value and subkey names, and deletion of whole subtrees.
//
// Enumeration is by position: a caller asks for 0, 1, 2 ... until it gets an
// empty name. Every failure of the system call other than a name too long for
// the first buffer gives an empty name, so every such loop ends, whatever state
// the key or the handle is in. Errors inside these members are absorbed.
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace {

// The first attempt reads up to 254 characters (255 with the NUL), which covers
// every ordinary name. A longer name (value names may have up to 16383
// characters, key names 255) is read once more with room for the longest the
// registry allows, so that one long name neither ends an enumeration early nor
// hides the names after it. There is no third attempt.
constexpr uint32_t kNameBuffer = 255;
constexpr uint32_t kLongestName = 16383 + 1;

using EnumCall = int32_t (platform::IRegistry::*)(platform::HKey, uint32_t, char16_t*, uint32_t*);

std::u16string NameAt(platform::HKey hKey, int32_t nIndex, EnumCall pfnEnum) {
  std::u16string sResult;
  base::Ignore([&] {
    if (nIndex < 0) return;  // No position before the first; never a valid one for the system.
    platform::IRegistry& oRegistry = platform::Registry();
    std::u16string sBuffer(kNameBuffer, u'\0');
    uint32_t nLength = kNameBuffer;
    int32_t nStatus = (oRegistry.*pfnEnum)(hKey, static_cast<uint32_t>(nIndex), sBuffer.data(), &nLength);
    if (nStatus == platform::kErrorMoreData) {
      sBuffer.assign(kLongestName, u'\0');
      nLength = kLongestName;
      nStatus = (oRegistry.*pfnEnum)(hKey, static_cast<uint32_t>(nIndex), sBuffer.data(), &nLength);
    }
    if (nStatus == platform::kErrorSuccess && nLength <= sBuffer.size()) sResult.assign(sBuffer, 0, nLength);
  });
  return sResult;
}

}  // namespace

std::u16string CWinReg::Values(int32_t nIndex) { return NameAt(hKey.Get(), nIndex, &platform::IRegistry::EnumValue); }

std::u16string CWinReg::Keys(int32_t nIndex) { return NameAt(hKey.Get(), nIndex, &platform::IRegistry::EnumKey); }

// Empties the held key of subkeys, depth first; the key itself and its own values
// stay. Positions shift as keys go, so all names are collected before the first
// deletion. A subkey that cannot be opened is still offered to DeleteKey, which
// succeeds when it has no subkeys of its own. The result tells whether the held
// key has no subkeys left afterwards.
bool CWinReg::DeleteAllKeys() {
  std::vector<std::u16string> asNames;
  base::Ignore([&] {
    for (int32_t nIndex = 0;; ++nIndex) {
      std::u16string sName = Keys(nIndex);
      if (sName.empty()) break;
      asNames.push_back(std::move(sName));
    }
  });
  CWinReg oChild;
  for (const std::u16string& sName : asNames) {
    base::Ignore([&] {
      if (oChild.InitForAccessHandle(hKey.Get(), sName, platform::kKeyAllAccess, false)) {
        oChild.DeleteAllKeys();
        oChild.CloseKey();
      }
    });
    base::Ignore([&] { DeleteKey(sName); });
  }
  bool bEmpty = false;
  base::Ignore([&] {
    char16_t acName[kNameBuffer];
    uint32_t nLength = kNameBuffer;
    bEmpty = platform::Registry().EnumKey(hKey.Get(), 0, acName, &nLength) == platform::kErrorNoMoreItems;
  });
  return bEmpty;
}

// Deletes strSubKey with everything beneath it; true when the deletion of the
// subkey itself succeeded, false when it was missing or could not be emptied.
bool CWinReg::DeleteKeyRec(const std::u16string& strSubKey) {
  if (strSubKey.empty()) return false;  // Not a subkey; see DeleteKey.
  base::Ignore([&] {
    CWinReg oChild;
    if (oChild.InitForAccessHandle(hKey.Get(), strSubKey, platform::kKeyAllAccess, false)) {
      oChild.DeleteAllKeys();
      oChild.CloseKey();
    }
  });
  bool bDeleted = false;
  base::Ignore([&] { bDeleted = DeleteKey(strSubKey); });
  return bDeleted;
}

}  // namespace twinsweep
