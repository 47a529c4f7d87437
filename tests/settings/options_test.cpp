#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>
#include <type_traits>
#include <utility>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/options.h"
#include "twinsweep/settings/win_reg.h"
#include "support/log_capture.h"

using namespace twinsweep;

namespace {

const std::u16string kKey = u"Software\\Orvex\\Twinsweep";
const std::u16string kPolicyKey = u"Software\\Policies\\Orvex\\Twinsweep";

class OptionsTest : public ::testing::Test {
 protected:
  void Set(int32_t nRoot, const std::u16string& sName, const std::u16string& sValue) {
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(nRoot, kKey, true));
    ASSERT_TRUE(r.WriteString(sName, sValue));
  }
  std::u16string Get(int32_t nRoot, const std::u16string& sName, const std::u16string& sKey = kKey) {
    CWinReg r;
    return r.InitForRead(nRoot, sKey) ? r.ReadString(sName) : u"<no key>";
  }
  // A policy value, a text or a DWORD, in the native view or (b32) the 32-bit one.
  template <class T>
  void SetPolicy(int32_t nRoot, bool b32, const std::u16string& sName, const T& value) {
    CWinReg r;
    const uint32_t nAccess = platform::kKeyAllAccess | (b32 ? platform::kKeyWow64_32Key : 0);
    ASSERT_TRUE(r.InitForAccess(nRoot, kPolicyKey, nAccess, true));
    if constexpr (std::is_same_v<T, int32_t>) {
      ASSERT_TRUE(r.WriteDWord(sName, value));
    } else {
      ASSERT_TRUE(r.WriteString(sName, value));
    }
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
  constexpr auto no = std::nullopt;
  struct Case {
    const char* szName;
    std::optional<int32_t> vUser, vMachine;
    bool bExpected;
    // The policies: the machine's (native, 32-bit view), the user's.
    std::optional<int32_t> vMachinePolicy = std::nullopt, vMachinePolicy32 = std::nullopt, vUserPolicy = std::nullopt;
  } cases[] = {{"none", no, no, false},
               {"user 1", 1, no, true},
               {"machine 1", no, 1, true},
               {"user 0 wins", 0, 1, false},
               {"user 1 wins", 1, 0, true},
               {"2 is not 1", 2, no, false},
               {"machine policy 1 over user 0", 0, 0, true, 1},
               {"machine policy 0 over user 1", 1, 1, false, 0},
               {"machine policy in the 32-bit view", 0, no, true, no, 1},
               {"native view before 32-bit", no, no, false, 0, 1},
               {"machine policy before user policy", no, no, true, 1, no, 0},
               {"user policy 0 over user 1", 1, no, false, no, no, 0},
               {"user policy 1 over machine 0", no, 0, true, no, no, 1}};
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
    if (c.vMachinePolicy) SetPolicy(HKLM, false, u"DiagnosticLog", *c.vMachinePolicy);
    if (c.vMachinePolicy32) SetPolicy(HKLM, true, u"DiagnosticLog", *c.vMachinePolicy32);
    if (c.vUserPolicy) SetPolicy(HKCU, false, u"DiagnosticLog", *c.vUserPolicy);
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

// The administrator's language comes first: the machine's policy, then the user's,
// each in the native view and then the 32-bit one. Nothing is written back, so the
// user's own choice returns when the policy goes.
TEST_F(OptionsTest, APolicyLanguageWinsAndIsNeverWrittenBack) {
  struct Case {
    const char* szName;
    const char16_t *machinePolicy, *machinePolicy32, *userPolicy, *user, *machine;
    const char16_t* expected;
  } cases[] = {
      {"machine policy over both scopes", u"DE", nullptr, nullptr, u"FR", u"ES", u"DE"},
      {"machine policy, nothing else", u"DE", nullptr, nullptr, nullptr, nullptr, u"DE"},
      {"machine policy in the 32-bit view", nullptr, u"JA", nullptr, u"FR", nullptr, u"JA"},
      {"native view before 32-bit", u"DE", u"JA", nullptr, nullptr, nullptr, u"DE"},
      {"machine policy before user policy", u"DE", nullptr, u"RU", u"FR", nullptr, u"DE"},
      {"user policy over the user's", nullptr, nullptr, u"RU", u"FR", u"ES", u"RU"},
      {"user policy, nothing else", nullptr, nullptr, u"RU", nullptr, nullptr, u"RU"},
      {"empty policies read like none", u"", u"", u"", u"FR", nullptr, u"FR"},
      {"an empty native policy lets the 32-bit one in", u"", u"IT", nullptr, u"FR", nullptr, u"IT"},
  };
  for (const auto& c : cases) {
    platform::MemoryRegistry fresh;
    platform::ScopedOverride<platform::IRegistry> o(fresh);
    if (c.machinePolicy) SetPolicy(HKLM, false, u"LANG", std::u16string(c.machinePolicy));
    if (c.machinePolicy32) SetPolicy(HKLM, true, u"LANG", std::u16string(c.machinePolicy32));
    if (c.userPolicy) SetPolicy(HKCU, false, u"LANG", std::u16string(c.userPolicy));
    if (c.user) Set(HKCU, u"LANG", c.user);
    if (c.machine) Set(HKLM, u"LANG", c.machine);
    EXPECT_EQ(Options().LangID(), c.expected) << c.szName;
    EXPECT_EQ(Get(HKCU, u"LANG"), c.user ? c.user : u"<no key>") << c.szName;
  }
  // The language file chosen for the policy's language is still remembered, in the
  // user's key only.
  SetPolicy(HKLM, false, u"LANG", std::u16string(u"DE"));
  Options().LangFile(u"DE.lng");
  EXPECT_EQ(Get(HKCU, u"LANG_"), u"DE.lng");
  EXPECT_EQ(Get(HKLM, u"LANG_", kPolicyKey), u"");
  EXPECT_EQ(Get(HKCU, u"LANG_", kPolicyKey), u"<no key>");
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
