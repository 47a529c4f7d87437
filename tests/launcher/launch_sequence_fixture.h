#pragma once
// The launch sequence's fixture, shared by the sequence's tests and the board's:
// besides the launcher's common doubles, scripted mutexes on a virtual clock, a
// fake Outlook, worker threads, the session window and memory session signals,
// each put in place of the platform's service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher_doubles.h"
#include "support/fake_desktop.h"
#include "support/launcher_fixture.h"
#include "support/log_capture.h"
#include "support/source_languages.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/memory/memory_session_signals.h"
#include "twinsweep/settings/win_reg.h"

namespace launcher_test {

using namespace twinsweep;

inline constexpr char16_t kRegisteredCommand[] = u"\"C:\\Program Files\\Stand In\\outlook.exe\" /automation";

class LaunchSequenceTest : public testing_support::LauncherFixture {
 protected:
  void SetUp() override {
    WriteDefault(u"Outlook.Application\\CLSID", u"{11111111-2222-3333-4444-555555555555}");
    WriteDefault(u"CLSID\\{11111111-2222-3333-4444-555555555555}\\LocalServer32", kRegisteredCommand);
    outlook_.entries = {{u"Other.Connect", true}, {u"Twinsweep.Connect", true}};
    app_.sAppFolder = testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR);
  }

  void WriteDefault(const std::u16string& sPath, const std::u16string& sValue) {
    platform::HKey h = 0;
    reg_.CreateKey(platform::RootKey(platform::kRootClassesRoot), sPath, platform::kKeyAllAccess, &h);
    std::u16string data = sValue + u'\0';
    reg_.SetValue(h, u"", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                  static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
  }

  void SetLanguage(const std::u16string& sLangID) {
    platform::HKey h = 0;
    reg_.CreateKey(platform::RootKey(platform::kRootCurrentUser), u"Software\\Orvex\\Twinsweep",
                   platform::kKeyAllAccess, &h);
    std::u16string data = sLangID + u'\0';
    reg_.SetValue(h, u"LANG", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                  static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
  }

  // Outlook comes up at nAt: its mutex from then until nLifeMs later, the add-in's
  // nAddinMs after it for as long as Outlook runs.
  void OutlookComesUp(uint64_t nAt, uint64_t nAddinMs, uint64_t nLifeMs) {
    const uint64_t nEnd = nLifeMs == kNever ? kNever : nAt + nLifeMs;
    sys_.mutexes[u"_outlook_mutex_"] = Presence{nAt, nEnd};
    sys_.mutexes[u"Orvex.Twinsweep.Addin"] = Presence{nAddinMs == kNever ? kNever : nAt + nAddinMs, nEnd};
  }

  FakeProcesses sys_;
  FakeOutlook outlook_{sys_};
  UseFakeProcesses useSys_{sys_};
  platform::ScopedOverride<platform::IAutomation> useOutlook_{outlook_};
  platform::MemorySessionSignals signals_;
  platform::ScopedOverride<platform::ISessionSignals> useSignals_{signals_};
  launcher_test::FakeWorkerThreads threads_{sys_, outlook_};
  platform::ScopedOverride<platform::IWorkerThreads> useThreads_{threads_};
  launcher_test::FakeSessionWindow session_{sys_};
  platform::ScopedOverride<platform::ISessionWindow> useSession_{session_};
};

// What a box adds to its type in the language: right-to-left reading for Arabic.
inline uint32_t BoxDirection(std::u16string_view sLang) {
  return sLang == u"AR" ? platform::kMbRtlReading | platform::kMbRight : 0u;
}

// The notes of the launch sequence that hold sPart, without their prefix.
inline std::vector<std::string> NotesWith(const testing_support::LogCapture& log, const std::string& sPart) {
  const std::string p = "D|mMain.RunLaunchSequence|0|";
  std::vector<std::string> notes;
  for (const auto& sLine : log.Lines())
    if (sLine.rfind(p, 0) == 0 && sLine.find(sPart) != std::string::npos) notes.push_back(sLine.substr(p.size()));
  return notes;
}

}  // namespace launcher_test
