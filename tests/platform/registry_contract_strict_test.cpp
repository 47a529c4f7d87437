// Where the real registry is stricter or different than a lenient store would
// be: letter case by one simple upper-case mapping, names with a NUL inside,
// names too long, strings stored without their terminator, data missing for a
// size. Held against both backends (Wine's real registry in the Windows tree).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/registry.h"
#include "support/registry_scratch.h"

using namespace twinsweep;

namespace {

using platform::HKey;
using testing_support::RegistryBackend;

class RegistryContractStrict : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  RegistryContractStrict() : backend_(GetParam()), reg_(backend_.Get()), scratch_(reg_, u"RegistryContractStrict") {}
  void SetUp() override { ASSERT_NE(scratch_.Handle(), 0); }

  HKey Key() const { return scratch_.Handle(); }
  int32_t SetDword(const std::u16string& sName) {
    const uint32_t n = 7;
    return reg_.SetValue(Key(), sName, platform::kRegDword, reinterpret_cast<const uint8_t*>(&n), 4);
  }
  int32_t Query(const std::u16string& sName, uint32_t* pnSize = nullptr) {
    uint32_t nSize = 0;
    const int32_t rc = reg_.QueryValue(Key(), sName, nullptr, nullptr, &nSize);
    if (pnSize) *pnSize = nSize;
    return rc;
  }
  int32_t CreateAndClose(const std::u16string& sPath) {
    HKey h = 0;
    const int32_t rc = reg_.CreateKey(Key(), sPath, platform::kKeyAllAccess, &h);
    if (rc == platform::kErrorSuccess) reg_.CloseKey(h);
    return rc;
  }
  int32_t OpenAndClose(const std::u16string& sPath) {
    HKey h = 0;
    const int32_t rc = reg_.OpenKey(Key(), sPath, platform::kKeyRead, &h);
    if (rc == platform::kErrorSuccess) reg_.CloseKey(h);
    return rc;
  }

  testing_support::BackendRegistry backend_;
  platform::IRegistry& reg_;
  testing_support::ScratchKey scratch_;
};

struct CasePair {
  const char* pszWhat;
  std::u16string sStored;
  std::u16string sAsked;
  bool bSame;
};

// Names are compared after one simple upper-case mapping of each character:
// letters of every script with a case pair fold, but a letter whose upper case
// is a different letter (dotted and dotless i) or a sequence (ß) stays apart.
const CasePair kCasePairs[] = {
    {"ascii", u"name", u"NAME", true},
    {"latin-1", u"\u00E4\u00F6", u"\u00C4\u00D6", true},
    {"cyrillic", u"\u0436", u"\u0416", true},
    {"greek", u"\u03C9", u"\u03A9", true},
    {"full-width", u"\uFF41", u"\uFF21", true},
    {"capital I with dot vs i", u"\u0130", u"i", false},
    {"capital I with dot vs dotless i", u"\u0130", u"\u0131", false},
    {"sharp s vs SS", u"\u00DF", u"SS", false},
    {"b with topbar", u"\u0183", u"\u0182", true},
    {"dz with caron", u"\u01C6", u"\u01C4", true},
    {"a with dot below", u"\u1EA1", u"\u1EA0", true},
    {"armenian", u"\u0561", u"\u0531", true},
    {"georgian", u"\u2D00", u"\u10A0", true},
    {"circled letter", u"\u24D0", u"\u24B6", true},
    {"roman numeral", u"\u2170", u"\u2160", true},
};

TEST_P(RegistryContractStrict, ValueAndKeyNamesFoldByOneSimpleUpperCaseMapping) {
  for (const CasePair& c : kCasePairs) {
    SCOPED_TRACE(c.pszWhat);
    ASSERT_EQ(SetDword(u"v" + c.sStored), platform::kErrorSuccess);
    EXPECT_EQ(Query(u"v" + c.sAsked) == platform::kErrorSuccess, c.bSame);
    ASSERT_EQ(CreateAndClose(u"k" + c.sStored), platform::kErrorSuccess);
    EXPECT_EQ(OpenAndClose(u"k" + c.sAsked) == platform::kErrorSuccess, c.bSame);
  }
}

TEST_P(RegistryContractStrict, AValueNameWithANulInsideNamesNoValue) {
  const std::u16string sName(u"LANG\0x", 6);
  EXPECT_NE(SetDword(sName), platform::kErrorSuccess);
  EXPECT_EQ(Query(u"LANG"), platform::kErrorFileNotFound);  // not cut at the NUL
  EXPECT_EQ(Query(sName), platform::kErrorFileNotFound);
}

// Windows takes key names of up to 255 characters, Wine up to 256.
TEST_P(RegistryContractStrict, NamesBeyondTheLongestAllowedAreInvalidParameters) {
  EXPECT_EQ(SetDword(std::u16string(16383, u'v')), platform::kErrorSuccess);
  EXPECT_EQ(SetDword(std::u16string(16384, u'v')), platform::kErrorInvalidParameter);
  EXPECT_EQ(CreateAndClose(std::u16string(255, u'k')), platform::kErrorSuccess);
  EXPECT_EQ(CreateAndClose(std::u16string(257, u'k')), platform::kErrorInvalidParameter);
  EXPECT_EQ(CreateAndClose(u"a\\" + std::u16string(257, u'k')), platform::kErrorInvalidParameter);
  EXPECT_EQ(OpenAndClose(std::u16string(257, u'k')), platform::kErrorInvalidParameter);
}

// A string counted without its terminator is kept so, unless a NUL follows the
// counted characters in memory: the system then counts it too.
TEST_P(RegistryContractStrict, AStringCountedWithoutItsTerminatorIsKeptAsCounted) {
  struct Case {
    std::u16string sMemory;
    uint32_t nCounted;
    uint32_t nStored;
  };
  for (const Case& c : {Case{u"abc", 4, 4}, Case{u"abc", 3, 3}, Case{std::u16string(u"ab\0", 3), 4, 6}}) {
    SCOPED_TRACE(testing::Message() << c.nCounted << " of " << c.sMemory.size());
    ASSERT_EQ(reg_.SetValue(Key(), u"s", platform::kRegSz, reinterpret_cast<const uint8_t*>(c.sMemory.c_str()),
                            c.nCounted),
              0);
    uint8_t buf[16] = {};
    uint32_t nType = 0, nGot = sizeof buf;
    ASSERT_EQ(reg_.QueryValue(Key(), u"s", &nType, buf, &nGot), platform::kErrorSuccess);
    EXPECT_EQ(nType, platform::kRegSz);
    ASSERT_EQ(nGot, c.nStored);
    EXPECT_EQ(0, std::memcmp(buf, c.sMemory.c_str(), c.nStored));
  }
}

TEST_P(RegistryContractStrict, DataMissingForANonZeroSizeIsRefused) {
  EXPECT_EQ(reg_.SetValue(Key(), u"bin", platform::kRegBinary, nullptr, 4), 998);  // ERROR_NOACCESS
  EXPECT_EQ(Query(u"bin"), platform::kErrorFileNotFound);
  uint32_t nSize = 99;
  ASSERT_EQ(reg_.SetValue(Key(), u"empty", platform::kRegBinary, nullptr, 0), platform::kErrorSuccess);
  EXPECT_EQ(Query(u"empty", &nSize), platform::kErrorSuccess);
  EXPECT_EQ(nSize, 0u);
}

// Windows lists values in the order they were made, Wine in name order: only
// that each comes once is common to both, and that is all the program relies on.
TEST_P(RegistryContractStrict, EveryValueIsEnumeratedOnceInWhateverOrder) {
  const std::vector<std::u16string> asMade{u"zeta", u"Alpha", u"mid", u"_under", u"beta"};
  for (const auto& s : asMade) ASSERT_EQ(SetDword(s), platform::kErrorSuccess);
  std::vector<std::u16string> asListed;
  for (uint32_t i = 0;; ++i) {
    char16_t acName[64];
    uint32_t nLength = 64;
    if (reg_.EnumValue(Key(), i, acName, &nLength) != platform::kErrorSuccess) break;
    asListed.emplace_back(acName, nLength);
  }
  std::vector<std::u16string> asSorted = asMade;
  std::sort(asSorted.begin(), asSorted.end());
  std::sort(asListed.begin(), asListed.end());
  EXPECT_EQ(asListed, asSorted);
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryContractStrict, testing_support::AllRegistryBackends(),
                         testing_support::RegistryBackendName);

}  // namespace
