// Registry behaviours the program relies on, held against both the in-memory
// store and the build's own registry (Wine's real one in the Windows tree), so
// that the store used natively cannot drift from the real thing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/platform/registry.h"
#include "support/registry_scratch.h"

using namespace twinsweep;

namespace {

using platform::HKey;
using platform::IRegistry;

struct Backend {
  const char* pszName;
  bool bSystem;
};

class RegistryContract : public ::testing::TestWithParam<Backend> {
 protected:
  RegistryContract()
      : pMemory_(GetParam().bSystem ? nullptr : std::make_unique<platform::MemoryRegistry>()),
        reg_(pMemory_ ? static_cast<IRegistry&>(*pMemory_) : platform::Default<IRegistry>()),
        scratch_(reg_, u"RegistryContract") {}
  void SetUp() override { ASSERT_NE(scratch_.Handle(), 0); }

  HKey Open(const std::u16string& sSub, uint32_t nAccess, int32_t* pnStatus = nullptr) {
    HKey h = 0;
    int32_t rc = reg_.OpenKey(scratch_.Handle(), sSub, nAccess, &h);
    if (pnStatus) *pnStatus = rc;
    return rc == platform::kErrorSuccess ? h : 0;
  }
  int32_t SetSz(HKey h, const std::u16string& sName, const std::u16string& sText) {
    return reg_.SetValue(h, sName, platform::kRegSz, reinterpret_cast<const uint8_t*>(sText.c_str()),
                         static_cast<uint32_t>((sText.size() + 1) * 2));
  }

  std::unique_ptr<platform::MemoryRegistry> pMemory_;
  IRegistry& reg_;
  testing_support::ScratchKey scratch_;
};

TEST_P(RegistryContract, OpeningAMissingKeyAnswersNotFoundAndCreatingMakesEveryLevel) {
  int32_t rc = 0;
  EXPECT_EQ(Open(u"a\\b\\c", platform::kKeyRead, &rc), 0);
  EXPECT_EQ(rc, platform::kErrorFileNotFound);
  HKey h = 0;
  ASSERT_EQ(reg_.CreateKey(scratch_.Handle(), u"a\\b\\c", platform::kKeyAllAccess, &h), 0);
  reg_.CloseKey(h);
  HKey hb = Open(u"a\\b", platform::kKeyRead);
  EXPECT_NE(hb, 0);
  reg_.CloseKey(hb);
}

TEST_P(RegistryContract, KeyNamesIgnoreCase) {
  HKey h = 0;
  ASSERT_EQ(reg_.CreateKey(scratch_.Handle(), u"MixedCase", platform::kKeyAllAccess, &h), 0);
  ASSERT_EQ(SetSz(h, u"Value", u"x"), 0);
  reg_.CloseKey(h);
  HKey h2 = Open(u"MIXEDCASE", platform::kKeyRead);
  ASSERT_NE(h2, 0);
  uint32_t nType = 0, nSize = 0;
  EXPECT_EQ(reg_.QueryValue(h2, u"VALUE", &nType, nullptr, &nSize), 0);
  EXPECT_EQ(nType, platform::kRegSz);
  reg_.CloseKey(h2);
}

TEST_P(RegistryContract, StringsKeepTheirTerminatingNulAndTheDefaultValueHasTheEmptyName) {
  HKey h = scratch_.Handle();
  ASSERT_EQ(SetSz(h, u"", u"default text"), 0);
  ASSERT_EQ(SetSz(h, u"empty", u""), 0);
  uint8_t buf[64] = {};
  uint32_t nType = 0, nSize = sizeof buf;
  ASSERT_EQ(reg_.QueryValue(h, u"", &nType, buf, &nSize), 0);
  EXPECT_EQ(nSize, (12u + 1u) * 2u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buf)), u"default text");
  nSize = sizeof buf;
  ASSERT_EQ(reg_.QueryValue(h, u"empty", &nType, buf, &nSize), 0);
  EXPECT_EQ(nSize, 2u);
}

TEST_P(RegistryContract, TooSmallABufferAnswersMoreDataWithTheSizeNeeded) {
  std::u16string sLong(300, u'x');  // 602 bytes: longer than 255 bytes
  ASSERT_EQ(SetSz(scratch_.Handle(), u"long", sLong), 0);
  std::vector<uint8_t> buf(256);
  uint32_t nType = 0, nSize = 256;
  EXPECT_EQ(reg_.QueryValue(scratch_.Handle(), u"long", &nType, buf.data(), &nSize), platform::kErrorMoreData);
  EXPECT_EQ(nSize, 602u);
  buf.resize(nSize);
  EXPECT_EQ(reg_.QueryValue(scratch_.Handle(), u"long", &nType, buf.data(), &nSize), 0);
  EXPECT_EQ(nSize, 602u);
}

TEST_P(RegistryContract, MissingValueAnswersNotFound) {
  uint32_t nType = 0, nSize = 0;
  EXPECT_EQ(reg_.QueryValue(scratch_.Handle(), u"absent", &nType, nullptr, &nSize), platform::kErrorFileNotFound);
}

TEST_P(RegistryContract, AKeyOpenedForReadingRefusesWrites) {
  HKey h = Open(u"", platform::kKeyRead);
  ASSERT_NE(h, 0);
  EXPECT_EQ(SetSz(h, u"v", u"x"), platform::kErrorAccessDenied);
  reg_.CloseKey(h);
}

// The system reads a name only up to a NUL: a name with an inner one would reach a
// shorter key or value than was asked for. It is refused as a missing one instead.
TEST_P(RegistryContract, ANameWithAnInnerNulIsRefusedAsMissing) {
  const std::u16string sCut(u"cut"), sWithNul(u"cut\0x", 5);
  ASSERT_EQ(SetSz(scratch_.Handle(), sCut, u"value"), 0);
  HKey h = 0;
  ASSERT_EQ(reg_.CreateKey(scratch_.Handle(), sCut, platform::kKeyAllAccess, &h), 0);
  reg_.CloseKey(h);
  uint32_t nType = 0, nSize = 0;
  EXPECT_EQ(reg_.QueryValue(scratch_.Handle(), sWithNul, &nType, nullptr, &nSize), platform::kErrorFileNotFound);
  EXPECT_EQ(SetSz(scratch_.Handle(), sWithNul, u"other"), platform::kErrorFileNotFound);
  int32_t rc = 0;
  EXPECT_EQ(Open(sWithNul, platform::kKeyRead, &rc), 0);
  EXPECT_EQ(rc, platform::kErrorFileNotFound);
  EXPECT_EQ(reg_.CreateKey(scratch_.Handle(), sWithNul, platform::kKeyAllAccess, &h), platform::kErrorFileNotFound);
}

TEST_P(RegistryContract, ClosingAClosedHandleFails) {
  HKey h = Open(u"", platform::kKeyRead);
  ASSERT_NE(h, 0);
  EXPECT_EQ(reg_.CloseKey(h), 0);
  EXPECT_NE(reg_.CloseKey(h), 0);
}

std::vector<Backend> Backends() {
  // In the Windows tree the default is Wine's registry; natively it is another
  // in-memory store, so the second run still checks the process-wide instance.
  return {{"Memory", false}, {"System", true}};
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryContract, ::testing::ValuesIn(Backends()),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
