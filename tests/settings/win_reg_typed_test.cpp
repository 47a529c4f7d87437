// CWinReg beyond its core: typed values, value information, enumeration and
// deletion, against a fresh in-memory store and against the build's own registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "twinsweep/base/date.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/registry.h"
#include "twinsweep/settings/win_reg.h"
#include "support/registry_scratch.h"

using namespace twinsweep;

namespace {

using platform::HKey;

using testing_support::RegistryBackend;

base::Date At(int32_t nYear, int32_t nMonth, int32_t nDay, int32_t nHour = 0, int32_t nMinute = 0,
              int32_t nSecond = 0) {
  base::DateParts oParts;
  oParts.nYear = nYear;
  oParts.nMonth = nMonth;
  oParts.nDay = nDay;
  oParts.nHour = nHour;
  oParts.nMinute = nMinute;
  oParts.nSecond = nSecond;
  return base::MakeDate(oParts);
}

class WinRegTyped : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  WinRegTyped()
      : oBackend_(GetParam()),
        oOverride_(oBackend_.Get()),
        oScratch_(platform::Registry(), u"WinRegTyped") {}

  void SetUp() override {
    ASSERT_NE(oScratch_.Handle(), 0) << "scratch key not created";
    ASSERT_TRUE(oReg_.InitForAllAccess(oReg_.HKEY_CURRENT_USER(), oScratch_.Path(), false));
  }
  void TearDown() override {
    oReg_.CloseKey();
    EXPECT_FALSE(base::HasPending());
    // Child objects of the deletions close what they open: only the scratch key is left.
    if (oBackend_.Memory()) {
      EXPECT_EQ(oBackend_.Memory()->OpenHandleCount(), 1u);
    }
  }

  HKey Key() const { return oScratch_.Handle(); }

  void SetRaw(HKey hKey, const std::u16string& sName, uint32_t nType, std::vector<uint8_t> abData) {
    ASSERT_EQ(platform::Registry().SetValue(hKey, sName, nType, abData.data(), static_cast<uint32_t>(abData.size())),
              platform::kErrorSuccess);
  }

  bool KeyExists(HKey hParent, const std::u16string& sPath) {
    HKey hKey = 0;
    if (platform::Registry().OpenKey(hParent, sPath, platform::kKeyRead, &hKey) != platform::kErrorSuccess) return false;
    platform::Registry().CloseKey(hKey);
    return true;
  }

  // A subkey with values on every level: sName\Level1\Level2, plus sName\Side.
  void MakeTree(const std::u16string& sName) {
    for (const std::u16string& sPath : {sName, sName + u"\\Level1", sName + u"\\Level1\\Level2", sName + u"\\Side"}) {
      HKey hKey = 0;
      ASSERT_EQ(platform::Registry().CreateKey(Key(), sPath, platform::kKeyAllAccess, &hKey), platform::kErrorSuccess);
      SetRaw(hKey, u"n", platform::kRegDword, {1, 0, 0, 0});
      SetRaw(hKey, u"", platform::kRegBinary, {1, 2, 3});
      platform::Registry().CloseKey(hKey);
    }
  }

  std::vector<std::u16string> AllNames(CWinReg& oReg, bool bKeys) {
    std::vector<std::u16string> asNames;
    for (int32_t nIndex = 0; nIndex < 100; ++nIndex) {
      std::u16string sName = bKeys ? oReg.Keys(nIndex) : oReg.Values(nIndex);
      if (sName.empty()) break;
      asNames.push_back(sName);
    }
    std::sort(asNames.begin(), asNames.end());
    return asNames;
  }

  testing_support::BackendRegistry oBackend_;
  platform::ScopedOverride<platform::IRegistry> oOverride_;
  testing_support::ScratchKey oScratch_;
  CWinReg oReg_;
  CWinReg oNoKey_;
};

TEST_P(WinRegTyped, DWordRoundTripAndDefaults) {
  for (int32_t nValue : {0, 1, -1, 2147483647, -2147483647 - 1}) {
    EXPECT_TRUE(oReg_.WriteDWord(u"n", nValue));
    EXPECT_EQ(oReg_.ReadDWord(u"n", 99), nValue);
  }
  int32_t nType = 0, nSize = 0;
  EXPECT_EQ(oReg_.QueryValueInfo(u"n", nType, nSize), 0);
  EXPECT_EQ(nType, 4);
  EXPECT_EQ(nSize, 4);

  SetRaw(Key(), u"digits", platform::kRegSz, {'7', 0, 0, 0});
  SetRaw(Key(), u"binary", platform::kRegBinary, {7, 0, 0, 0});
  SetRaw(Key(), u"long", platform::kRegDword, {7, 0, 0, 0, 0, 0, 0, 0});
  for (const char16_t* psz : {u"missing", u"digits", u"binary", u"long"}) {
    EXPECT_EQ(oReg_.ReadDWord(psz, 99), 99) << base::ToUtf8(psz);
  }
  EXPECT_EQ(oNoKey_.ReadDWord(u"n", 99), 0);
  EXPECT_FALSE(oNoKey_.WriteDWord(u"n", 1));
}

TEST_P(WinRegTyped, FlagsAreYesOrNo) {
  EXPECT_TRUE(oReg_.WriteBool(u"b", true));
  EXPECT_EQ(oReg_.ReadString(u"b"), u"yes");
  EXPECT_TRUE(oReg_.WriteYesNo(u"b", false));
  EXPECT_EQ(oReg_.ReadString(u"b"), u"no");
  int32_t nType = 0, nSize = 0;
  EXPECT_EQ(oReg_.QueryValueInfo(u"b", nType, nSize), 0);
  EXPECT_EQ(nType, 1);

  struct Case {
    const char16_t* pszText;  // nullptr: no such value
    bool bExpected;
  };
  for (Case c : {Case{u"yes", true}, Case{u"YES", true}, Case{u"Yes", true}, Case{u"no", false},
                 Case{u"true", false}, Case{u"1", false}, Case{u"", false}, Case{u"yes ", false},
                 Case{nullptr, false}}) {
    SCOPED_TRACE(c.pszText ? base::ToUtf8(c.pszText) : "missing");
    oReg_.DeleteValue(u"f");
    if (c.pszText) {
      ASSERT_TRUE(oReg_.WriteString(u"f", c.pszText));
    }
    EXPECT_EQ(oReg_.ReadBool(u"f"), c.bExpected);
    EXPECT_EQ(oReg_.ReadYesNo(u"f"), c.bExpected);
  }
  EXPECT_FALSE(oNoKey_.WriteBool(u"b", true));
  EXPECT_FALSE(oNoKey_.ReadBool(u"b"));
}

TEST_P(WinRegTyped, DatesRoundTripAsText) {
  struct Case {
    base::Date dtValue;
    const char16_t* pszText;
  };
  for (Case c : {Case{At(2000, 1, 1), u"2000.01.01 00:00:00"}, Case{At(2024, 3, 7, 14, 5, 9), u"2024.03.07 14:05:09"},
                 Case{At(1800, 6, 15, 12, 0, 1), u"1800.06.15 12:00:01"},
                 Case{At(999, 12, 31, 23, 59, 59), u"0999.12.31 23:59:59"}, Case{At(100, 1, 1), u"0100.01.01 00:00:00"},
                 Case{At(9999, 12, 31, 23, 59, 59), u"9999.12.31 23:59:59"}}) {
    SCOPED_TRACE(base::ToUtf8(c.pszText));
    EXPECT_TRUE(oReg_.WriteDate(u"d", c.dtValue));
    EXPECT_EQ(oReg_.ReadString(u"d"), c.pszText);
    EXPECT_EQ(oReg_.ReadDate(u"d", base::Date{}), c.dtValue);
  }
  EXPECT_FALSE(oNoKey_.WriteDate(u"d", At(2000, 1, 1)));
}

TEST_P(WinRegTyped, ReadDateCarriesOrFallsBack) {
  const base::Date dtDefault = At(1990, 5, 5, 5, 5, 5);
  struct Case {
    const char16_t* pszText;
    std::optional<base::Date> dtExpected;  // nullopt: the default
  };
  const Case aCases[] = {
      {u"2024.13.01 00:00:00", At(2025, 1, 1)},
      {u"2024.01.01 25:00:00", At(2024, 1, 2, 1)},
      {u"2024.00.01 00:00:00", At(2023, 12, 1)},
      {u"2024.03.00 00:00:00", At(2024, 2, 29)},
      {u"2024.01.01 00:00:32767", At(2024, 1, 1, 9, 6, 7)},
      {u"2024.01.01 00:00:-1", At(2023, 12, 31, 23, 59, 59)},
      {u"99.13.01 00:00:00", At(100, 1, 1)},
      {u"2024.03.07 14:05:09 and more", At(2024, 3, 7, 14, 5, 9)},
      {u"2024.03.07.9 14:05:09:9", At(2024, 3, 7, 14, 5, 9)},
      {u"2024.03.07", std::nullopt},
      {u"2024.03.07  14:05:09", std::nullopt},
      {u" 2024.03.07 14:05:09", std::nullopt},
      {u"2024.03.x7 14:05:09", std::nullopt},
      {u"2024.03.07 14:05", std::nullopt},
      {u"2024..07 14:05:09", std::nullopt},
      {u"2024.01.01 00:00:32768", std::nullopt},
      {u"2024.01.01 00:00:-32769", std::nullopt},
      {u"0099.01.01 00:00:00", std::nullopt},
      {u"10000.01.01 00:00:00", std::nullopt},
      {u"9999.12.31 24:00:00", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : aCases) {
    SCOPED_TRACE(base::ToUtf8(c.pszText));
    ASSERT_TRUE(oReg_.WriteString(u"d", c.pszText));
    EXPECT_EQ(oReg_.ReadDate(u"d", dtDefault), c.dtExpected.value_or(dtDefault));
    EXPECT_FALSE(base::HasPending());
  }
  SetRaw(Key(), u"number", platform::kRegDword, {1, 0, 0, 0});
  EXPECT_EQ(oReg_.ReadDate(u"number", dtDefault), dtDefault);
  EXPECT_EQ(oReg_.ReadDate(u"missing", dtDefault), dtDefault);
  EXPECT_EQ(oNoKey_.ReadDate(u"d", dtDefault), dtDefault);
}

TEST_P(WinRegTyped, QueryValueInfoAndReadBinary) {
  SetRaw(Key(), u"bytes", platform::kRegBinary, {9, 8, 7, 6, 5});
  SetRaw(Key(), u"empty", platform::kRegBinary, {});
  int32_t nType = 77, nSize = 77;
  EXPECT_EQ(oReg_.QueryValueInfo(u"bytes", nType, nSize), 0);
  EXPECT_EQ(nType, 3);
  EXPECT_EQ(nSize, 5);
  nType = nSize = 77;
  EXPECT_EQ(oReg_.QueryValueInfo(u"missing", nType, nSize), 2);
  EXPECT_EQ(nType, 0);
  EXPECT_EQ(nSize, 0);
  nType = nSize = 77;
  EXPECT_EQ(oNoKey_.QueryValueInfo(u"bytes", nType, nSize), -1);
  EXPECT_EQ(nType, 0);
  EXPECT_EQ(nSize, 0);

  const std::vector<uint8_t> abBefore(10, 0xAA);
  std::vector<uint8_t> abData = abBefore;
  EXPECT_TRUE(oReg_.ReadBinary(u"bytes", abData));
  EXPECT_EQ(abData, (std::vector<uint8_t>{9, 8, 7, 6, 5}));
  for (const char16_t* psz : {u"empty", u"missing"}) {
    abData = abBefore;
    EXPECT_FALSE(oReg_.ReadBinary(psz, abData)) << base::ToUtf8(psz);
    EXPECT_EQ(abData, abBefore);
  }
  EXPECT_FALSE(oNoKey_.ReadBinary(u"bytes", abData));
  // Any type reads as its stored bytes.
  ASSERT_TRUE(oReg_.WriteDWord(u"n", 0x01020304));
  EXPECT_TRUE(oReg_.ReadBinary(u"n", abData));
  EXPECT_EQ(abData, (std::vector<uint8_t>{4, 3, 2, 1}));
}

TEST_P(WinRegTyped, DeleteValueKeyAndFlush) {
  ASSERT_TRUE(oReg_.WriteDWord(u"n", 1));
  EXPECT_TRUE(oReg_.DeleteValue(u"N"));
  EXPECT_EQ(oReg_.ReadDWord(u"n", 99), 99);
  EXPECT_FALSE(oReg_.DeleteValue(u"n"));
  EXPECT_FALSE(oNoKey_.DeleteValue(u"n"));

  MakeTree(u"Tree");
  EXPECT_FALSE(oReg_.DeleteKey(u"Tree"));  // it has subkeys
  EXPECT_TRUE(oReg_.DeleteKey(u"Tree\\Side"));
  EXPECT_FALSE(KeyExists(Key(), u"Tree\\Side"));
  EXPECT_FALSE(oReg_.DeleteKey(u"Tree\\Side"));
  EXPECT_FALSE(oNoKey_.DeleteKey(u"Tree\\Level1\\Level2"));
  EXPECT_TRUE(KeyExists(Key(), u"Tree\\Level1\\Level2"));

  EXPECT_TRUE(oReg_.FlushKey());
  EXPECT_FALSE(oNoKey_.FlushKey());
}

// Names that are no subkey ("", a path from a backslash) never reach the held key itself.
TEST_P(WinRegTyped, NamesOfNoSubkeyDeleteNothing) {
  CWinReg oSub;
  MakeTree(u"Tree");
  ASSERT_TRUE(oSub.InitForAllAccess(oSub.HKEY_CURRENT_USER(), oScratch_.Path() + u"\\Tree\\Side", false));
  EXPECT_FALSE(oSub.DeleteKey(u""));
  EXPECT_FALSE(oSub.DeleteKey(u"\\"));
  EXPECT_FALSE(oReg_.DeleteKeyRec(u""));
  EXPECT_FALSE(oReg_.DeleteKeyRec(u"\\"));
  EXPECT_FALSE(oReg_.DeleteKeyRec(u"\\Tree"));
  EXPECT_TRUE(KeyExists(Key(), u"Tree\\Side"));
  EXPECT_TRUE(KeyExists(Key(), u"Tree\\Level1\\Level2"));
}

TEST_P(WinRegTyped, ValuesAndKeysEnumerateToAnEmptyName) {
  EXPECT_EQ(oReg_.Values(0), u"");
  EXPECT_EQ(oReg_.Keys(0), u"");
  for (const char16_t* psz : {u"one", u"two", u"three"}) {
    ASSERT_TRUE(oReg_.WriteDWord(psz, 1));
    HKey hKey = 0;
    ASSERT_EQ(platform::Registry().CreateKey(Key(), psz, platform::kKeyAllAccess, &hKey), platform::kErrorSuccess);
    platform::Registry().CloseKey(hKey);
  }
  const std::vector<std::u16string> asExpected = {u"one", u"three", u"two"};
  EXPECT_EQ(AllNames(oReg_, false), asExpected);
  EXPECT_EQ(AllNames(oReg_, true), asExpected);
  EXPECT_EQ(oReg_.Values(3), u"");
  EXPECT_EQ(oReg_.Keys(3), u"");
  EXPECT_EQ(oReg_.Values(-1), u"");
  EXPECT_EQ(oReg_.Keys(-1), u"");
  EXPECT_EQ(oNoKey_.Values(0), u"");
  EXPECT_EQ(oNoKey_.Keys(0), u"");
}

// A name too long for the first buffer is read whole and does not end the run.
TEST_P(WinRegTyped, LongNamesAreEnumeratedWhole) {
  const std::u16string sLongValue(1000, u'v');
  const std::u16string sLongKey(255, u'k');
  ASSERT_TRUE(oReg_.WriteDWord(sLongValue, 1));
  ASSERT_TRUE(oReg_.WriteDWord(u"a", 1));
  for (const std::u16string& sName : {sLongKey, std::u16string(u"a")}) {
    HKey hKey = 0;
    ASSERT_EQ(platform::Registry().CreateKey(Key(), sName, platform::kKeyAllAccess, &hKey), platform::kErrorSuccess);
    platform::Registry().CloseKey(hKey);
  }
  EXPECT_EQ(AllNames(oReg_, false), (std::vector<std::u16string>{u"a", sLongValue}));
  EXPECT_EQ(AllNames(oReg_, true), (std::vector<std::u16string>{u"a", sLongKey}));
  EXPECT_TRUE(oReg_.DeleteAllKeys());
  EXPECT_EQ(oReg_.Keys(0), u"");
}

TEST_P(WinRegTyped, DeleteKeyRecRemovesAWholeSubtree) {
  MakeTree(u"Tree");
  MakeTree(u"Sibling");
  EXPECT_TRUE(oReg_.DeleteKeyRec(u"tree"));
  EXPECT_FALSE(KeyExists(Key(), u"Tree"));
  EXPECT_TRUE(KeyExists(Key(), u"Sibling\\Level1\\Level2"));
  EXPECT_FALSE(oReg_.DeleteKeyRec(u"Tree"));
  EXPECT_FALSE(oReg_.DeleteKeyRec(u"Missing"));
  EXPECT_FALSE(oNoKey_.DeleteKeyRec(u"Sibling"));
  EXPECT_TRUE(KeyExists(Key(), u"Sibling\\Level1\\Level2"));

  // A path reaches a deeper key; what lies above it stays.
  EXPECT_TRUE(oReg_.DeleteKeyRec(u"Sibling\\Level1"));
  EXPECT_FALSE(KeyExists(Key(), u"Sibling\\Level1"));
  EXPECT_TRUE(KeyExists(Key(), u"Sibling\\Side"));
}

TEST_P(WinRegTyped, DeleteAllKeysKeepsTheKeyAndItsValues) {
  ASSERT_TRUE(oReg_.WriteDWord(u"own", 5));
  EXPECT_TRUE(oReg_.DeleteAllKeys());  // nothing to delete
  EXPECT_EQ(oReg_.ReadDWord(u"own", 0), 5);

  MakeTree(u"First");
  MakeTree(u"Second");
  EXPECT_TRUE(oReg_.DeleteAllKeys());
  EXPECT_EQ(oReg_.Keys(0), u"");
  EXPECT_EQ(oReg_.ReadDWord(u"own", 0), 5);
  EXPECT_TRUE(KeyExists(platform::RootKey(platform::kRootCurrentUser), oScratch_.Path()));
  EXPECT_FALSE(oNoKey_.DeleteAllKeys());
}

INSTANTIATE_TEST_SUITE_P(Backends, WinRegTyped, testing_support::AllRegistryBackends(),
                         testing_support::RegistryBackendName);

// A registry whose every call past opening fails by raising: the members that
// absorb errors answer their "nothing" result and leave no error pending.
class RaisingRegistry : public platform::IRegistry {
 public:
  int32_t OpenKey(HKey, std::u16string_view, uint32_t, HKey* phKey) override {
    *phKey = 0x1234;
    return 0;
  }
  int32_t CreateKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) override {
    return OpenKey(hRoot, sPath, nAccess, phKey);
  }
  int32_t CloseKey(HKey) override { return 0; }
  int32_t SetValue(HKey, std::u16string_view, uint32_t, const uint8_t*, uint32_t) override { Fail(); }
  int32_t QueryValue(HKey, std::u16string_view, uint32_t*, uint8_t*, uint32_t*) override { Fail(); }
  int32_t DeleteValue(HKey, std::u16string_view) override { Fail(); }
  int32_t DeleteKey(HKey, std::u16string_view) override { Fail(); }
  int32_t FlushKey(HKey) override { Fail(); }
  int32_t EnumValue(HKey, uint32_t, char16_t*, uint32_t*) override { Fail(); }
  int32_t EnumKey(HKey, uint32_t, char16_t*, uint32_t*) override { Fail(); }

 private:
  [[noreturn]] static void Fail() { base::Raise(base::kOutOfMemory); }
};

TEST(WinRegTypedAbsorbs, FailuresInsideEnumerationAndDeletion) {
  RaisingRegistry oRaising;
  platform::ScopedOverride<platform::IRegistry> oOverride(oRaising);
  CWinReg oReg;
  ASSERT_TRUE(oReg.InitForRead(oReg.HKEY_CURRENT_USER(), u"Software"));
  EXPECT_EQ(oReg.Values(0), u"");
  EXPECT_EQ(oReg.Keys(0), u"");
  EXPECT_FALSE(oReg.DeleteAllKeys());
  EXPECT_FALSE(oReg.DeleteKeyRec(u"Sub"));
  EXPECT_FALSE(base::HasPending());
}

}  // namespace
