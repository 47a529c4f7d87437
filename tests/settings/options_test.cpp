#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>
#include <utility>

#include "base/text.h"
#include "platform/memory/memory_registry.h"
#include "settings/options.h"
#include "settings/win_reg.h"
#include "support/log_capture.h"

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

// A 32-bit setup of the product writes the machine's scope only in the 32-bit view.
TEST_F(OptionsTest, TheMachinesScopeIsReadInTheNativeViewThenThe32BitView) {
  auto set32 = [&](const std::u16string& sName, const std::u16string& sValue) {
    CWinReg r;
    ASSERT_TRUE(r.InitForAccess(HKLM, kKey, platform::kKeyAllAccess | platform::kKeyWow64_32Key, true));
    ASSERT_TRUE(r.WriteString(sName, sValue));
  };
  set32(u"LANG", u"IT");
  set32(u"LANG_", u"it.lng");
  EXPECT_EQ(Options().LangID(), u"IT");
  EXPECT_EQ(Get(HKCU, u"LANG"), u"<no key>");  // found, so nothing was written back
  Set(HKCU, u"LANG", u"IT");
  EXPECT_EQ(Options().LangFile(), u"it.lng");
  EXPECT_EQ(Get(HKLM, u"LANG"), u"<no key>");  // the native view has no such key
  Set(HKLM, u"LANG", u"ES");
  Set(HKCU, u"LANG", u"");
  EXPECT_EQ(Options().LangID(), u"ES");
}

// Only a plain file name counts as a remembered language file; anything else as none.
TEST_F(OptionsTest, ARememberedFileOutsideTheProgramsFolderCountsAsNone) {
  const struct {
    std::u16string sStored;
    std::u16string sExpected;
  } rows[] = {
      {u"Deutsch.lng", u"Deutsch.lng"},
      {u"..\\..\\elsewhere\\evil.lng", u""},
      {u"C:\\evil.lng", u""},
      {u"\\\\server\\share\\evil.lng", u""},
      {u"sub/evil.lng", u""},
      {u"NUL", u""},
  };
  for (const auto& r : rows) {
    Set(HKCU, u"LANG_", r.sStored);
    EXPECT_EQ(Options().LangFile(), r.sExpected) << base::ToUtf8(r.sStored);
  }
  // A user's file that is refused does not let the machine's file in either.
  Set(HKCU, u"LANG_", u"..\\evil.lng");
  Set(HKLM, u"LANG_", u"fr.lng");
  EXPECT_EQ(Options().LangFile(), u"");
}

// The text of a string value ends at its first NUL: what follows never reaches a
// caller that builds a file name from it.
TEST_F(OptionsTest, AValueWithAnInnerNulIsReadUpToIt) {
  CWinReg r;
  ASSERT_TRUE(r.InitForWrite(HKCU, kKey, true));
  const std::u16string data(u"..\\prog.exe\0x\0", 14);
  ASSERT_EQ(registry_.SetValue(r.Handle(), u"LANG", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                               static_cast<uint32_t>(data.size() * 2)),
            0);
  EXPECT_EQ(r.ReadString(u"LANG"), u"..\\prog.exe");
  EXPECT_EQ(Options().LangID(), u"..\\prog.exe");
}

TEST_F(OptionsTest, AFailedWriteBackStillAnswersEnglish) {
  registry_.RefuseAccess(platform::RootKey(HKCU), kKey, platform::kKeyWrite);
  EXPECT_EQ(Options().LangID(), u"EN");
  // A key the user may not write: each write is a note, not an error.
  testing_support::LogCapture log;
  Options().LangID(u"EN");
  Options().LangFile(u"EN.lng");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"D|COptions.LangID|0|LANG could not be written",
                                                   "D|COptions.LangFile|0|LANG_ could not be written"}));
}

// A user's LANG of another type than text is a setting this program cannot read:
// it is reported, English serves, and the value stays as it was. An empty text is
// no setting at all and is replaced.
TEST_F(OptionsTest, ALanguageOfAnotherTypeIsReportedAndKept) {
  const struct {
    const char* szName;
    uint32_t nType;
    std::vector<uint8_t> data;
    bool bKept;
  } rows[] = {
      {"multi", platform::kRegMultiSz, {'D', 0, 'E', 0, 0, 0, 0, 0}, true},
      {"dword", platform::kRegDword, {7, 0, 0, 0}, true},
      {"binary", platform::kRegBinary, {'D', 0, 'E', 0}, true},
      {"empty binary", platform::kRegBinary, {}, true},
      {"empty text", platform::kRegSz, {0, 0}, false},
      {"empty expandable text", platform::kRegExpandSz, {}, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.szName);
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(HKCU, kKey, true));
    ASSERT_EQ(registry_.SetValue(w.Handle(), u"LANG", r.nType, r.data.data(), static_cast<uint32_t>(r.data.size())), 0);
    testing_support::LogCapture log;
    EXPECT_EQ(Options().LangID(), u"EN");
    uint32_t nType = 0, nSize = 0;
    ASSERT_EQ(registry_.QueryValue(w.Handle(), u"LANG", &nType, nullptr, &nSize), 0);
    EXPECT_EQ(nType, r.bKept ? r.nType : platform::kRegSz);
    EXPECT_EQ(log.Errors().size(), r.bKept ? 1u : 0u);
  }
}

}  // namespace
