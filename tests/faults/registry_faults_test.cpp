// The registry work of the settings under registry faults, each call failing in
// turn: recursive deletion (a subtree is gone when the deletion says so, and
// nothing beside it goes) and the options (the language read with the machine's
// fallback and English written back, never a stored language lost).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "faults/fault_loop.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/options.h"
#include "twinsweep/settings/win_reg.h"
#include "support/fault_injecting_registry.h"
#include "support/registry_scratch.h"

using namespace twinsweep;

namespace {

using fault_testing::ErrorReported;
using fault_testing::ForEachFailingCall;
using fault_testing::kFaultModes;
using platform::HKey;
using testing_support::RegistryBackend;

// Every key and value under hParent\sPath, as sorted "path" and "path:value" lines
// (empty when the key is missing).
std::vector<std::u16string> Snapshot(platform::IRegistry& reg, HKey hParent, const std::u16string& sPath) {
  std::vector<std::u16string> lines;
  HKey h = 0;
  if (reg.OpenKey(hParent, sPath, platform::kKeyRead, &h) != platform::kErrorSuccess) return lines;
  lines.push_back(sPath);
  std::vector<std::u16string> subkeys;
  for (uint32_t i = 0;; ++i) {
    char16_t name[300];
    uint32_t n = 300;
    if (reg.EnumValue(h, i, name, &n) != platform::kErrorSuccess) break;
    lines.push_back(sPath + u":" + std::u16string(name, n));
  }
  for (uint32_t i = 0;; ++i) {
    char16_t name[300];
    uint32_t n = 300;
    if (reg.EnumKey(h, i, name, &n) != platform::kErrorSuccess) break;
    subkeys.emplace_back(name, n);
  }
  reg.CloseKey(h);
  for (const auto& s : subkeys)
    for (auto& l : Snapshot(reg, hParent, sPath + u"\\" + s)) lines.push_back(l);
  std::sort(lines.begin(), lines.end());
  return lines;
}

class RegistryDeleteFaults : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  RegistryDeleteFaults()
      : backend_(GetParam()), raw_(backend_.Get()), scratch_(raw_, u"RegistryDeleteFaults"), faulty_(raw_),
        use_(faulty_) {}
  void SetUp() override {
    ASSERT_NE(scratch_.Handle(), 0);
    MakeTree(u"Sibling");
    const uint32_t n = 1;
    raw_.SetValue(scratch_.Handle(), u"own", platform::kRegDword, reinterpret_cast<const uint8_t*>(&n), 4);
  }

  // sName\Level1\Level2 and sName\Side, with values on every level.
  void MakeTree(const std::u16string& sName) {
    for (const std::u16string& sPath : {sName, sName + u"\\Level1", sName + u"\\Level1\\Level2", sName + u"\\Side"}) {
      HKey h = 0;
      ASSERT_EQ(raw_.CreateKey(scratch_.Handle(), sPath, platform::kKeyAllAccess, &h), platform::kErrorSuccess);
      const uint32_t n = 7;
      raw_.SetValue(h, u"n", platform::kRegDword, reinterpret_cast<const uint8_t*>(&n), 4);
      raw_.SetValue(h, u"", platform::kRegBinary, reinterpret_cast<const uint8_t*>(&n), 2);
      raw_.CloseKey(h);
    }
  }
  std::vector<std::u16string> Beside() {
    std::vector<std::u16string> lines = Snapshot(raw_, scratch_.Handle(), u"Sibling");
    uint32_t nSize = 0;
    if (raw_.QueryValue(scratch_.Handle(), u"own", nullptr, nullptr, &nSize) == platform::kErrorSuccess)
      lines.push_back(u"own");
    return lines;
  }

  testing_support::BackendRegistry backend_;
  platform::IRegistry& raw_;
  testing_support::ScratchKey scratch_;
  testing_support::FaultInjectingRegistry faulty_;
  platform::ScopedOverride<platform::IRegistry> use_;
  testing_support::LogCapture log_;
};

TEST_P(RegistryDeleteFaults, DeleteKeyRecDeletesTheWholeSubtreeOrSaysItFailed) {
  const std::vector<std::u16string> beside = Beside();
  for (const auto& mode : kFaultModes) {
    ForEachFailingCall(faulty_, mode, [&] {
      testing_support::DeleteTree(raw_, scratch_.Handle(), u"Victim");
      MakeTree(u"Victim");
      bool bDeleted = false;
      {
        CWinReg reg;
        bDeleted = reg.InitForAllAccess(reg.HKEY_CURRENT_USER(), scratch_.Path(), false) && reg.DeleteKeyRec(u"Victim");
      }
      if (bDeleted) {
        EXPECT_TRUE(Snapshot(raw_, scratch_.Handle(), u"Victim").empty()) << "said deleted, still there";
      }
      EXPECT_EQ(Beside(), beside) << "something beside the subtree was lost";
    });
  }
  if (backend_.Memory()) {
    EXPECT_EQ(backend_.Memory()->OpenHandleCount(), 1u);
  }
}

TEST_P(RegistryDeleteFaults, DeleteAllKeysEmptiesTheKeyOrSaysItFailedAndKeepsItsValues) {
  const std::vector<std::u16string> beside = Beside();
  for (const auto& mode : kFaultModes) {
    ForEachFailingCall(faulty_, mode, [&] {
      testing_support::DeleteTree(raw_, scratch_.Handle(), u"Victim");
      MakeTree(u"Victim");
      bool bEmptied = false;
      {
        CWinReg reg;
        bEmptied = reg.InitForAllAccess(reg.HKEY_CURRENT_USER(), scratch_.Path() + u"\\Victim", false) &&
                   reg.DeleteAllKeys();
      }
      const std::vector<std::u16string> left = Snapshot(raw_, scratch_.Handle(), u"Victim");
      if (bEmptied) {
        EXPECT_EQ(left, (std::vector<std::u16string>{u"Victim", u"Victim:", u"Victim:n"})) << "said emptied, is not";
      } else {
        EXPECT_TRUE(std::find(left.begin(), left.end(), u"Victim:n") != left.end()) << "the key's own value was lost";
      }
      EXPECT_EQ(Beside(), beside) << "something beside the subtree was lost";
    });
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryDeleteFaults, testing_support::AllRegistryBackends(),
                         testing_support::RegistryBackendName);

// The options over a store of their own: what each scope holds before a read, and
// what the read gives and leaves without faults.
struct OptionsCase {
  const char* pszName;
  const char16_t* sUser;     // the user's LANG (null: none)
  const char16_t* sMachine;  // the machine's LANG (null: none)
  const char16_t* sWant;
  const char16_t* sUserAfter;  // the user's LANG after a fault-free read
};

class OptionsFaults : public ::testing::TestWithParam<OptionsCase> {
 protected:
  OptionsFaults() : faulty_(store_), use_(faulty_) {}
  void Set(int32_t nRoot, const char16_t* sValue) {
    HKey h = 0;
    store_.CreateKey(platform::RootKey(nRoot), u"Software\\Orvex\\Twinsweep", platform::kKeyAllAccess, &h);
    if (sValue) {
      const std::u16string s = sValue;
      store_.SetValue(h, u"LANG", platform::kRegSz, reinterpret_cast<const uint8_t*>(s.c_str()),
                      static_cast<uint32_t>((s.size() + 1) * 2));
    } else {
      store_.DeleteValue(h, u"LANG");
    }
    store_.CloseKey(h);
  }
  std::u16string UserLanguage() {
    HKey h = 0;
    if (store_.OpenKey(platform::RootKey(platform::kRootCurrentUser), u"Software\\Orvex\\Twinsweep",
                       platform::kKeyRead, &h) != platform::kErrorSuccess)
      return u"<none>";
    char16_t buf[16] = {};
    uint32_t n = sizeof buf - 2;
    const int32_t rc = store_.QueryValue(h, u"LANG", nullptr, reinterpret_cast<uint8_t*>(buf), &n);
    store_.CloseKey(h);
    return rc == platform::kErrorSuccess ? std::u16string(buf) : u"<none>";
  }

  platform::MemoryRegistry store_;
  testing_support::FaultInjectingRegistry faulty_;
  platform::ScopedOverride<platform::IRegistry> use_;
  testing_support::LogCapture log_;
};

TEST_P(OptionsFaults, TheLanguageReadIsTheWholeAnswerOrReportedAndNoStoredLanguageIsLost) {
  const OptionsCase& c = GetParam();
  const std::u16string sBefore = c.sUser ? c.sUser : u"<none>";
  for (const auto& mode : kFaultModes) {
    ForEachFailingCall(faulty_, mode, [&] {
      Set(platform::kRootCurrentUser, c.sUser);
      Set(platform::kRootLocalMachine, c.sMachine);
      log_.Clear();
      const std::u16string sGot = Options().LangID();
      if (sGot != c.sWant) {
        EXPECT_TRUE(ErrorReported(log_)) << "gave " << base::ToUtf8(sGot) << " without a report";
      }
      const std::u16string sAfter = UserLanguage();
      EXPECT_TRUE(sAfter == sBefore || sAfter == c.sUserAfter) << "the user's language became " << base::ToUtf8(sAfter);
    });
  }
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsFaults,
                         ::testing::Values(OptionsCase{"UsersOwn", u"DE", u"FR", u"DE", u"DE"},
                                           OptionsCase{"MachinesFallback", nullptr, u"FR", u"FR", u"<none>"},
                                           OptionsCase{"EnglishWrittenBack", nullptr, nullptr, u"EN", u"EN"}),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
