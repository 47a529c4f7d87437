// Registry behaviours that enumeration and deletion rely on, held against both
// the in-memory store and the build's own registry (Wine's in the Windows tree):
// the end of an enumeration, names too long for the buffer, refused deletions and
// the status of a missing value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/registry.h"
#include "support/registry_scratch.h"

using namespace twinsweep;

namespace {

using platform::HKey;
using platform::IRegistry;

using testing_support::RegistryBackend;

class RegistryContractEnum : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  RegistryContractEnum()
      : oBackend_(GetParam()), oRegistry_(oBackend_.Get()), oScratch_(oRegistry_, u"RegistryContractEnum") {}

  void SetUp() override { ASSERT_NE(oScratch_.Handle(), 0) << "scratch key not created"; }

  HKey Key() const { return oScratch_.Handle(); }

  HKey Create(HKey hParent, const std::u16string& sPath) {
    HKey hKey = 0;
    EXPECT_EQ(oRegistry_.CreateKey(hParent, sPath, platform::kKeyAllAccess, &hKey), platform::kErrorSuccess);
    return hKey;
  }

  void SetDword(HKey hKey, const std::u16string& sName, uint32_t nValue) {
    EXPECT_EQ(oRegistry_.SetValue(hKey, sName, platform::kRegDword, reinterpret_cast<const uint8_t*>(&nValue), 4),
              platform::kErrorSuccess);
  }

  // Every name that EnumValue (or EnumKey) gives before the end, with the status
  // that ended the run.
  std::vector<std::u16string> Names(bool bKeys, int32_t* pnEndStatus) {
    std::vector<std::u16string> asNames;
    for (uint32_t nIndex = 0; nIndex < 100; ++nIndex) {
      char16_t acName[300];
      uint32_t nLength = 300;
      int32_t nStatus = bKeys ? oRegistry_.EnumKey(Key(), nIndex, acName, &nLength)
                              : oRegistry_.EnumValue(Key(), nIndex, acName, &nLength);
      if (nStatus != platform::kErrorSuccess) {
        *pnEndStatus = nStatus;
        break;
      }
      asNames.emplace_back(acName, nLength);
    }
    std::sort(asNames.begin(), asNames.end());
    return asNames;
  }

  testing_support::BackendRegistry oBackend_;
  IRegistry& oRegistry_;
  testing_support::ScratchKey oScratch_;
};

TEST_P(RegistryContractEnum, EnumerationEndsWithNoMoreItems) {
  int32_t nEnd = -1;
  EXPECT_TRUE(Names(false, &nEnd).empty());
  EXPECT_EQ(nEnd, platform::kErrorNoMoreItems);
  EXPECT_TRUE(Names(true, &nEnd).empty());
  EXPECT_EQ(nEnd, platform::kErrorNoMoreItems);

  for (const char16_t* psz : {u"Alpha", u"beta", u"Gamma"}) {
    SetDword(Key(), psz, 1);
    oRegistry_.CloseKey(Create(Key(), psz));
  }
  const std::vector<std::u16string> asExpected = {u"Alpha", u"Gamma", u"beta"};
  nEnd = -1;
  EXPECT_EQ(Names(false, &nEnd), asExpected);
  EXPECT_EQ(nEnd, platform::kErrorNoMoreItems);
  nEnd = -1;
  EXPECT_EQ(Names(true, &nEnd), asExpected);
  EXPECT_EQ(nEnd, platform::kErrorNoMoreItems);
}

// The capacity counts the terminating NUL: a name of n characters needs n + 1.
TEST_P(RegistryContractEnum, NameTooLongForTheBufferIsMoreData) {
  struct Case {
    bool bKey;
    size_t nNameLength;
  };
  for (Case c : {Case{false, 255}, Case{false, 300}, Case{true, 255}}) {
    SCOPED_TRACE(testing::Message() << (c.bKey ? "key " : "value ") << c.nNameLength);
    const std::u16string sName(c.nNameLength, u'n');
    if (c.bKey) {
      oRegistry_.CloseKey(Create(Key(), sName));
    } else {
      SetDword(Key(), sName, 1);
    }
    auto Enum = [&](char16_t* pName, uint32_t* pnLength) {
      return c.bKey ? oRegistry_.EnumKey(Key(), 0, pName, pnLength) : oRegistry_.EnumValue(Key(), 0, pName, pnLength);
    };
    std::u16string sBuffer(c.nNameLength + 1, u'\0');
    uint32_t nLength = static_cast<uint32_t>(c.nNameLength);
    EXPECT_EQ(Enum(sBuffer.data(), &nLength), platform::kErrorMoreData);
    nLength = static_cast<uint32_t>(c.nNameLength + 1);
    ASSERT_EQ(Enum(sBuffer.data(), &nLength), platform::kErrorSuccess);
    EXPECT_EQ(nLength, c.nNameLength);
    EXPECT_EQ(sBuffer.substr(0, nLength), sName);
    if (c.bKey) {
      EXPECT_EQ(oRegistry_.DeleteKey(Key(), sName), platform::kErrorSuccess);
    } else {
      EXPECT_EQ(oRegistry_.DeleteValue(Key(), sName), platform::kErrorSuccess);
    }
  }
}

TEST_P(RegistryContractEnum, DeletingAKeyWithSubkeysIsRefused) {
  oRegistry_.CloseKey(Create(Key(), u"Parent\\Child"));
  EXPECT_EQ(oRegistry_.DeleteKey(Key(), u"Parent"), platform::kErrorAccessDenied);
  HKey hParent = 0;
  ASSERT_EQ(oRegistry_.OpenKey(Key(), u"Parent", platform::kKeyRead, &hParent), platform::kErrorSuccess);
  oRegistry_.CloseKey(hParent);

  // Values do not hold a key back; only subkeys do.
  HKey hChild = Create(Key(), u"Parent\\Child");
  SetDword(hChild, u"v", 1);
  oRegistry_.CloseKey(hChild);
  EXPECT_EQ(oRegistry_.DeleteKey(Key(), u"PARENT\\child"), platform::kErrorSuccess);
  EXPECT_EQ(oRegistry_.DeleteKey(Key(), u"Parent"), platform::kErrorSuccess);
  EXPECT_EQ(oRegistry_.DeleteKey(Key(), u"Parent"), platform::kErrorFileNotFound);
}

// A path below a key is relative: a leading backslash makes it a bad path, so
// "\\" never stands for the key itself (HKEY_CLASSES_ROOT alone skips one).
TEST_P(RegistryContractEnum, PathStartingWithABackslashIsRefused) {
  oRegistry_.CloseKey(Create(Key(), u"Tree\\Side"));
  for (const char16_t* psz : {u"\\", u"\\Tree", u"\\Tree\\Side"}) {
    SCOPED_TRACE(base::ToUtf8(psz));
    HKey hKey = 0;
    EXPECT_EQ(oRegistry_.OpenKey(Key(), psz, platform::kKeyRead, &hKey), platform::kErrorBadPathname);
    EXPECT_EQ(oRegistry_.CreateKey(Key(), psz, platform::kKeyAllAccess, &hKey), platform::kErrorBadPathname);
    EXPECT_EQ(oRegistry_.DeleteKey(Key(), psz), platform::kErrorBadPathname);
  }
  HKey hSide = 0;
  EXPECT_EQ(oRegistry_.OpenKey(Key(), u"Tree\\Side", platform::kKeyRead, &hSide), platform::kErrorSuccess);
  oRegistry_.CloseKey(hSide);
}

TEST_P(RegistryContractEnum, MissingValueIsFileNotFound) {
  uint32_t nType = 0, nSize = 0;
  EXPECT_EQ(oRegistry_.QueryValue(Key(), u"missing", &nType, nullptr, &nSize), platform::kErrorFileNotFound);
  EXPECT_EQ(oRegistry_.DeleteValue(Key(), u"missing"), platform::kErrorFileNotFound);
  // The default value of a key that has none is missing as well.
  EXPECT_EQ(oRegistry_.QueryValue(Key(), u"", &nType, nullptr, &nSize), platform::kErrorFileNotFound);
}

TEST_P(RegistryContractEnum, QueryWithoutBufferReportsTypeAndSize) {
  SetDword(Key(), u"n", 42);
  uint32_t nType = 0, nSize = 0;
  EXPECT_EQ(oRegistry_.QueryValue(Key(), u"n", &nType, nullptr, &nSize), platform::kErrorSuccess);
  EXPECT_EQ(nType, platform::kRegDword);
  EXPECT_EQ(nSize, 4u);

  EXPECT_EQ(oRegistry_.SetValue(Key(), u"empty", platform::kRegBinary, nullptr, 0), platform::kErrorSuccess);
  nType = 0;
  nSize = 99;
  EXPECT_EQ(oRegistry_.QueryValue(Key(), u"empty", &nType, nullptr, &nSize), platform::kErrorSuccess);
  EXPECT_EQ(nType, platform::kRegBinary);
  EXPECT_EQ(nSize, 0u);
}

// Without a key every call fails, and an enumeration does not mistake the failure
// for a name.
TEST_P(RegistryContractEnum, NoKeyIsInvalidHandle) {
  char16_t acName[16];
  uint32_t nLength = 16;
  EXPECT_EQ(oRegistry_.EnumValue(0, 0, acName, &nLength), platform::kErrorInvalidHandle);
  nLength = 16;
  EXPECT_EQ(oRegistry_.EnumKey(0, 0, acName, &nLength), platform::kErrorInvalidHandle);
  EXPECT_EQ(oRegistry_.DeleteValue(0, u"v"), platform::kErrorInvalidHandle);
  EXPECT_EQ(oRegistry_.DeleteKey(0, u"k"), platform::kErrorInvalidHandle);
  EXPECT_EQ(oRegistry_.FlushKey(0), platform::kErrorInvalidHandle);
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryContractEnum, testing_support::AllRegistryBackends(),
                         testing_support::RegistryBackendName);

}  // namespace
