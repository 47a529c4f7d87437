#include "support/registry_scratch.h"

#include <vector>

namespace testing_support {

namespace {
constexpr char16_t kTestsRoot[] = u"Software\\TwinsweepTests";
}

void DeleteTree(platform::IRegistry& oRegistry, platform::HKey hParent, const std::u16string& sSubKey) {
  {
    ScopedKeyIn hKey(0, {&oRegistry});
    if (oRegistry.OpenKey(hParent, sSubKey, platform::kKeyAllAccess, hKey.Receive()) != platform::kErrorSuccess)
      return;
    std::vector<std::u16string> asNames;
    for (uint32_t nIndex = 0;; ++nIndex) {
      char16_t acName[257];  // Wine takes key names one character longer than Windows
      uint32_t nLength = 257;
      if (oRegistry.EnumKey(hKey.Get(), nIndex, acName, &nLength) != platform::kErrorSuccess) break;
      asNames.emplace_back(acName, nLength);
    }
    for (const std::u16string& sName : asNames) DeleteTree(oRegistry, hKey.Get(), sName);
  }  // closed before its deletion
  oRegistry.DeleteKey(hParent, sSubKey);
}

ScratchKey::ScratchKey(platform::IRegistry& oRegistry, const std::u16string& sSuite)
    : oRegistry_(oRegistry), sPath_(std::u16string(kTestsRoot) + u"\\" + sSuite), hKey_(0, {&oRegistry}) {
  platform::HKey hRoot = platform::RootKey(platform::kRootCurrentUser);
  DeleteTree(oRegistry_, hRoot, sPath_);
  platform::HKey hKey = 0;
  if (oRegistry_.CreateKey(hRoot, sPath_, platform::kKeyAllAccess, &hKey) == platform::kErrorSuccess) hKey_.Reset(hKey);
}

ScratchKey::~ScratchKey() {
  hKey_.Reset();  // closed before the tree goes
  platform::HKey hRoot = platform::RootKey(platform::kRootCurrentUser);
  DeleteTree(oRegistry_, hRoot, sPath_);
  // The common parent goes when the last suite's key has gone; while another
  // suite's key is still there the system refuses, which is as it should be.
  oRegistry_.DeleteKey(hRoot, kTestsRoot);
}

}  // namespace testing_support
