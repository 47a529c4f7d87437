// CWinReg's one key: who closes it, on every way the object is used, counted in
// the in-memory store's open handles.
#include <gtest/gtest.h>

#include <string>

#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/win_reg.h"

using namespace twinsweep;

namespace {

const std::u16string kKey = u"Software\\Orvex\\Twinsweep";

class WinRegOwnership : public ::testing::Test {
 protected:
  void SetUp() override {
    CWinReg oReg;
    ASSERT_TRUE(oReg.InitForWrite(kRoot, kKey, true));
    ASSERT_TRUE(oReg.InitForWrite(kRoot, kKey + u"\\Other", true));
  }
  size_t Open() const { return registry_.OpenHandleCount(); }

  const int32_t kRoot = platform::kRootCurrentUser;
  platform::MemoryRegistry registry_;
  platform::ScopedOverride<platform::IRegistry> override_{registry_};
};

TEST_F(WinRegOwnership, TheKeyIsClosedByCloseKeyOrWhenTheObjectGoes) {
  {
    CWinReg oReg;
    ASSERT_TRUE(oReg.InitForRead(kRoot, kKey));
    EXPECT_EQ(Open(), 1u);
    EXPECT_TRUE(oReg.CloseKey());
    EXPECT_EQ(Open(), 0u);
    EXPECT_EQ(oReg.Handle(), 0);
    EXPECT_TRUE(oReg.CloseKey());  // nothing held: still true

    ASSERT_TRUE(oReg.InitForRead(kRoot, kKey));  // opened again after the close
    EXPECT_EQ(Open(), 1u);
  }
  EXPECT_EQ(Open(), 0u);
}

// An object opened again without CloseKey would otherwise lose the earlier key,
// which nobody could close any more.
TEST_F(WinRegOwnership, AnOpenOfAnObjectThatHoldsAKeyClosesTheEarlierOne) {
  CWinReg oReg;
  ASSERT_TRUE(oReg.InitForWrite(kRoot, kKey, false));
  const platform::HKey hFirst = oReg.Handle();
  ASSERT_TRUE(oReg.InitForRead(kRoot, kKey + u"\\Other"));
  EXPECT_EQ(Open(), 1u);
  EXPECT_NE(oReg.Handle(), hFirst);
  EXPECT_FALSE(oReg.WriteString(u"x", u"y"));  // the read-only key is the one held

  EXPECT_FALSE(oReg.InitForRead(kRoot, kKey + u"\\Missing"));
  EXPECT_EQ(Open(), 0u);  // a failed open leaves no key held and none open
  EXPECT_EQ(oReg.Handle(), 0);
  EXPECT_EQ(oReg.ReadString(u""), u"");
}

}  // namespace
