// Loading a language under file-system and registry faults: Init, InitEx and
// GetAvailableLangs, with each call failing in turn and with reads cut short.
// A load either gives the whole language or fails with a report; the user's
// language in the registry is never lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "faults/fault_loop.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/options.h"
#include "support/fake_desktop.h"
#include "support/fault_injecting_files.h"
#include "support/fault_injecting_registry.h"
#include "support/lang_file.h"
#include "support/temp_folder.h"
#include "lang/testable_lang.h"

using namespace twinsweep;

namespace {

using fault_testing::ErrorReported;
using fault_testing::ForEachFailingCall;
using fault_testing::kFaultModes;

constexpr int kTexts = 300;  // enough for the file to take several reads

std::string Key(int i) { return "LID_TEXT_" + std::to_string(i); }

// A language file of kTexts texts and one form section, well over one read block.
std::string LanguageFile(const std::string& sLangID) {
  std::string s = testing_support::LangFile(
      sLangID, {"", "[Main]", "globals = \"texts\"", "forms = \"frmMain\"", "", "[Main.texts]"},
      testing_support::kLangSignature, {"Language " + sLangID, true});
  for (int i = 0; i < kTexts; ++i) s += Key(i) + " = \"" + sLangID + " text number " + std::to_string(i) + "\"\r\n";
  s += "\r\n[Main.frmMain]\r\n.Caption = \"" + sLangID + " main\"\r\ncmdOK.Caption = \"OK\"\r\n";
  return s;
}

// What a loaded language shows through its public members.
struct Loaded {
  bool bOk = false;
  std::u16string sFilename, sLangID, sLangName;
  std::vector<std::u16string> texts;
  bool operator==(const Loaded& o) const {
    return bOk == o.bOk && sFilename == o.sFilename && sLangID == o.sLangID && sLangName == o.sLangName &&
           texts == o.texts;
  }
};

Loaded Describe(bool bOk, TestableLang& lang) {
  Loaded l{bOk, lang.Filename(), lang.LangID(), lang.LangName(), {}};
  for (int i = 0; i < kTexts; ++i) {
    const std::u16string sKey = base::FromUtf8(Key(i));
    l.texts.push_back(lang.ItemFind(sKey) ? lang.Item(sKey) : u"<none>");
  }
  return l;
}

class LangLoadFaults : public ::testing::Test {
 protected:
  LangLoadFaults() : registry_(store_), useFiles_(files_), useRegistry_(registry_), useApp_(app_) {
    app_.sAppFolder = folder_.Path();
    for (const char* id : {"DE", "EN", "FR"})
      folder_.Write(base::FromUtf8(std::string(id) + ".lng"), LanguageFile(id));
  }

  // Every run starts from the same registry: the user chose German.
  void SetUserLanguage() {
    platform::HKey h = 0;
    store_.CreateKey(platform::RootKey(platform::kRootCurrentUser), u"Software\\Orvex\\Twinsweep",
                     platform::kKeyAllAccess, &h);
    const std::u16string s = u"DE";
    store_.SetValue(h, u"LANG", platform::kRegSz, reinterpret_cast<const uint8_t*>(s.c_str()), 6);
    store_.DeleteValue(h, u"LANG_");
    store_.CloseKey(h);
  }
  std::u16string UserLanguage() {
    platform::HKey h = 0;
    store_.OpenKey(platform::RootKey(platform::kRootCurrentUser), u"Software\\Orvex\\Twinsweep", platform::kKeyRead,
                   &h);
    char16_t buf[16] = {};
    uint32_t n = sizeof buf - 2;
    store_.QueryValue(h, u"LANG", nullptr, reinterpret_cast<uint8_t*>(buf), &n);
    store_.CloseKey(h);
    return buf;
  }

  // Checks one run against the fault-free one: the whole language, or a failure
  // that was reported and left nothing loaded. With a fallback, another whole
  // language may stand in, when it was reported.
  void ExpectWholeOrReported(const Loaded& got, const Loaded& whole, const Loaded* pFallback = nullptr) {
    if (got == whole) return;
    EXPECT_TRUE(ErrorReported(log_)) << "a result other than the whole one was not reported";
    if (got.bOk) {
      EXPECT_TRUE(pFallback && got == *pFallback) << "a load reported as success gave a partial result";
    } else {
      EXPECT_EQ(got.sFilename, u"");
    }
  }

  Loaded Init() {
    log_.Clear();
    TestableLang lang;
    const bool bOk = lang.Init(folder_.File(u"EN.lng"), u"Main");
    return Describe(bOk, lang);
  }
  Loaded InitEx() {
    SetUserLanguage();
    log_.Clear();
    TestableLang lang;
    const bool bOk = lang.InitEx(u"Main", Options());
    Loaded l = Describe(bOk, lang);
    EXPECT_EQ(UserLanguage(), u"DE") << "the user's language was lost";
    return l;
  }

  testing_support::TempFolder folder_;
  platform::MemoryRegistry store_;
  testing_support::FaultInjectingFiles files_;
  testing_support::FaultInjectingRegistry registry_;
  testing_support::FakeApp app_;
  platform::ScopedOverride<platform::IFiles> useFiles_;
  platform::ScopedOverride<platform::IRegistry> useRegistry_;
  platform::ScopedOverride<platform::IApp> useApp_;
  testing_support::LogCapture log_;
};

TEST_F(LangLoadFaults, InitGivesTheWholeLanguageOrAReportedFailure) {
  const Loaded whole = Init();
  ASSERT_TRUE(whole.bOk);
  for (const auto& mode : kFaultModes)
    ForEachFailingCall(files_, mode, [&] { ExpectWholeOrReported(Init(), whole); });
}

TEST_F(LangLoadFaults, InitTakesShortReadsAsReadsNotAsTheEnd) {
  const Loaded whole = Init();
  for (uint32_t nCap : {1u, 3u, 100u, 4095u}) {
    SCOPED_TRACE(nCap);
    files_.Reset();
    files_.CapReads(nCap);
    EXPECT_TRUE(Init() == whole);
  }
  files_.Reset();
}

TEST_F(LangLoadFaults, InitExGivesTheUsersLanguageOrAReportedFailureAndKeepsTheChoice) {
  const Loaded whole = InitEx();
  ASSERT_TRUE(whole.bOk);
  ASSERT_EQ(whole.sLangID, u"DE");
  // A user's language that cannot be read gives English, which must then be whole.
  Loaded english = Init();
  english.bOk = true;
  for (const auto& mode : kFaultModes) {
    {
      SCOPED_TRACE("files");
      ForEachFailingCall(files_, mode, [&] { ExpectWholeOrReported(InitEx(), whole, &english); });
    }
    SCOPED_TRACE("registry");
    ForEachFailingCall(registry_, mode, [&] { ExpectWholeOrReported(InitEx(), whole, &english); });
  }
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
}

TEST_F(LangLoadFaults, GetAvailableLangsListsEveryFileOrReportsWhyNot) {
  auto list = [&] {
    log_.Clear();
    TestableLang lang;
    std::vector<std::u16string> names;
    const auto colList = lang.GetAvailableLangs(folder_.Path(), u"");
    for (const auto& entry : base::Deref(colList)) names.emplace_back(entry.item);
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::u16string> whole = list();
  ASSERT_EQ(whole.size(), 3u);
  for (const auto& mode : kFaultModes)
    ForEachFailingCall(files_, mode, [&] {
      const std::vector<std::u16string> got = list();
      if (got != whole) {
        EXPECT_TRUE(ErrorReported(log_)) << "a list cut short was not reported";
      }
    });
}

}  // namespace
