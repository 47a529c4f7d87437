#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "platform/memory/memory_registry.h"
#include "settings/options.h"
#include "settings/win_reg.h"

namespace {

const std::u16string kKey = u"Software\\Orvex\\Twinsweep";

class OptionsTest : public ::testing::Test {
 protected:
  void Set(int32_t nRoot, const std::u16string& sName, const std::u16string& sValue) {
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(nRoot, kKey, true));
    ASSERT_TRUE(r.WriteString(sName, sValue));
  }
  std::u16string Get(int32_t nRoot, const std::u16string& sName) {
    CWinReg r;
    return r.InitForRead(nRoot, kKey) ? r.ReadString(sName) : u"<no key>";
  }
  platform::MemoryRegistry registry_;
  platform::ScopedOverride<platform::IRegistry> override_{registry_};
  const int32_t HKCU = platform::kRootCurrentUser, HKLM = platform::kRootLocalMachine;
};

TEST_F(OptionsTest, AnEmptyRegistryGivesEnglishAndRemembersIt) {
  EXPECT_EQ(Options().LangID(), u"EN");
  EXPECT_EQ(Get(HKCU, u"LANG"), u"EN");
  EXPECT_EQ(Options().LangFile(), u"");
  EXPECT_EQ(Get(HKLM, u"LANG"), u"<no key>");  // the machine's scope is never written
}

TEST_F(OptionsTest, TheUsersLanguageWinsAndTheMachinesIsAFallbackThatIsNotCopied) {
  Set(HKLM, u"LANG", u"FR");
  EXPECT_EQ(Options().LangID(), u"FR");
  EXPECT_EQ(Get(HKCU, u"LANG"), u"<no key>");
  Set(HKCU, u"LANG", u"DE");
  EXPECT_EQ(Options().LangID(), u"DE");
  Set(HKCU, u"LANG", u"");  // an empty value reads like a missing one
  EXPECT_EQ(Options().LangID(), u"FR");
}

TEST_F(OptionsTest, TheMachinesFileAppliesOnlyWhileBothLanguagesAreEqual) {
  struct Case {
    const char16_t* user;
    const char16_t* machine;
    const char16_t* expected;
  } cases[] = {{u"FR", u"FR", u"fr.lng"}, {u"fr", u"FR", u""}, {nullptr, u"FR", u""}, {nullptr, nullptr, u"fr.lng"}};
  for (const auto& c : cases) {
    platform::MemoryRegistry fresh;
    platform::ScopedOverride<platform::IRegistry> o(fresh);
    Set(HKLM, u"LANG_", u"fr.lng");
    if (c.machine) Set(HKLM, u"LANG", c.machine);
    if (c.user) Set(HKCU, u"LANG", c.user);
    EXPECT_EQ(Options().LangFile(), c.expected) << (c.user ? "user set" : "user unset");
  }
  Set(HKCU, u"LANG_", u"mine.lng");
  EXPECT_EQ(Options().LangFile(), u"mine.lng");
  Options().LangFile(u"other.lng");
  EXPECT_EQ(Get(HKCU, u"LANG_"), u"other.lng");
}

TEST_F(OptionsTest, DiagnosticLogIsTheUsersDwordElseTheMachines) {
  struct Case {
    const char* szName;
    std::optional<int32_t> vUser, vMachine;
    bool bExpected;
  } cases[] = {{"none", std::nullopt, std::nullopt, false},      {"user 1", 1, std::nullopt, true},
               {"machine 1", std::nullopt, 1, true},            {"user 0 wins", 0, 1, false},
               {"user 1 wins", 1, 0, true},                     {"2 is not 1", 2, std::nullopt, false}};
  for (const auto& c : cases) {
    platform::MemoryRegistry fresh;
    platform::ScopedOverride<platform::IRegistry> o(fresh);
    for (auto [nRoot, v] : {std::pair{HKCU, c.vUser}, std::pair{HKLM, c.vMachine}}) {
      CWinReg r;
      ASSERT_TRUE(r.InitForWrite(nRoot, kKey, true));
      if (v) {
        ASSERT_TRUE(r.WriteDWord(u"DiagnosticLog", *v));
      }
    }
    EXPECT_EQ(Options().DiagnosticLog(), c.bExpected) << c.szName;
  }
  // A text "1" is not the DWORD the option is.
  Set(HKCU, u"DiagnosticLog", u"1");
  EXPECT_FALSE(Options().DiagnosticLog());
}

TEST_F(OptionsTest, AFailedWriteBackStillAnswersEnglish) {
  registry_.RefuseAccess(platform::RootKey(HKCU), kKey, platform::kKeyWrite);
  EXPECT_EQ(Options().LangID(), u"EN");
}

}  // namespace
