// mCreateProcess and the Outlook probes over scripted doubles and the in-memory registry.
#include <gtest/gtest.h>

#include "twinsweep/launcher/create_process.h"
#include "twinsweep/launcher/outlook_probe.h"
#include "launcher_doubles.h"
#include "twinsweep/platform/memory/memory_registry.h"

using namespace twinsweep;

namespace {

using launcher_test::FakeProcesses;
using launcher_test::Presence;

TEST(MutexExistsTest, OpensForSynchronisationAndClosesWhatItOpened) {
  FakeProcesses sys;
  launcher_test::UseFakeProcesses use(sys);
  sys.mutexes[u"there"] = Presence{0, launcher_test::kNever};

  EXPECT_TRUE(mCreateProcess::MutexExists(u"there"));
  EXPECT_FALSE(mCreateProcess::MutexExists(u"missing"));
  EXPECT_EQ(sys.nOpenHandles, 0);
  EXPECT_EQ(sys.closed.size(), 1u);
  EXPECT_EQ(sys.accessRequested, (std::vector<uint32_t>{0x00100000, 0x00100000}));
}

TEST(MutexExistsTest, OutlookAndAddinProbesUseTheirOwnNames) {
  FakeProcesses sys;
  launcher_test::UseFakeProcesses use(sys);
  sys.mutexes[u"Orvex.Twinsweep.Addin"] = Presence{0, launcher_test::kNever};
  EXPECT_FALSE(mMain::IsOutlookRunning());
  EXPECT_TRUE(mMain::IsAddinRunning());
  sys.mutexes[u"_outlook_mutex_"] = Presence{0, launcher_test::kNever};
  EXPECT_TRUE(mMain::IsOutlookRunning());
}

TEST(StartProcessTest, StartupRecordFlagsAndHandles) {
  struct Row {
    bool bMinimized;
    uint32_t nFlags;
    uint16_t nShow;
  };
  for (const Row& row : {Row{false, 0, 0}, Row{true, 1, 2}}) {
    FakeProcesses sys;
    launcher_test::UseFakeProcesses use(sys);
    const std::u16string sCommand = u"\"C:\\Program Files\\Outlook\\OUTLOOK.EXE\" /automation";
    ASSERT_TRUE(mCreateProcess::StartProcess(sCommand, row.bMinimized));
    ASSERT_EQ(sys.launches.size(), 1u);
    EXPECT_EQ(sys.launches[0].sApplicationName, u"C:\\Program Files\\Outlook\\OUTLOOK.EXE");
    EXPECT_EQ(sys.launches[0].sCommandLine, sCommand);
    EXPECT_EQ(sys.launches[0].nCreationFlags, 0x20u);
    EXPECT_EQ(sys.launches[0].startup.dwFlags, row.nFlags);
    EXPECT_EQ(sys.launches[0].startup.wShowWindow, row.nShow);
    // Thread handle first, then the process handle; nothing stays open.
    EXPECT_EQ(sys.closed, (std::vector<platform::KernelHandle>{0x7002, 0x7001}));
    EXPECT_EQ(sys.nOpenHandles, 0);
  }
}

TEST(StartProcessTest, FailedStartAnswersFalseAndClosesNothing) {
  FakeProcesses sys;
  sys.bLaunchSucceeds = false;
  launcher_test::UseFakeProcesses use(sys);
  EXPECT_FALSE(mCreateProcess::StartProcess(u"\"C:\\Mail\\client.exe\"", false));
  EXPECT_EQ(sys.launches.size(), 1u);
  EXPECT_TRUE(sys.closed.empty());
}

// A program that cannot be named is not started at all: the system would guess.
TEST(StartProcessTest, NoProgramFileNoStart) {
  FakeProcesses sys;
  platform::MemoryRegistry reg;
  launcher_test::UseFakeProcesses use(sys);
  platform::ScopedOverride<platform::IRegistry> useReg(reg);
  EXPECT_FALSE(mCreateProcess::StartProcess(u"OUTLOOK.EXE", false));
  EXPECT_TRUE(sys.launches.empty());
}

class GetOutlookPathTest : public ::testing::Test {
 protected:
  void SetDefault(const std::u16string& sPath, const std::u16string& sValue, uint32_t nType = platform::kRegSz,
                  uint32_t nView = 0) {
    platform::HKey h = 0;
    ASSERT_EQ(reg_.CreateKey(platform::RootKey(platform::kRootClassesRoot), sPath, platform::kKeyAllAccess | nView, &h),
              0);
    std::u16string data = sValue + u'\0';
    reg_.SetValue(h, u"", nType, reinterpret_cast<const uint8_t*>(data.data()),
                  static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
  }
  platform::MemoryRegistry reg_;
  platform::ScopedOverride<platform::IRegistry> use_{reg_};
};

TEST_F(GetOutlookPathTest, FallsBackUnlessTheWholeRegistrationIsThere) {
  const std::u16string sClsid = u"{0006F03A-0000-0000-C000-000000000046}";
  EXPECT_EQ(mMain::GetOutlookPath(), u"OUTLOOK.EXE");  // no registration at all
  SetDefault(u"Outlook.Application\\CLSID", u"");
  EXPECT_EQ(mMain::GetOutlookPath(), u"OUTLOOK.EXE");  // empty class identifier
  SetDefault(u"Outlook.Application\\CLSID", sClsid);
  EXPECT_EQ(mMain::GetOutlookPath(), u"OUTLOOK.EXE");  // no LocalServer32 key
  SetDefault(u"CLSID\\" + sClsid + u"\\LocalServer32", u"");
  EXPECT_EQ(mMain::GetOutlookPath(), u"OUTLOOK.EXE");  // empty command line
  EXPECT_EQ(reg_.OpenHandleCount(), 0u);
}

// 32-bit Office on a 64-bit system: the class's keys only in the 32-bit view.
TEST_F(GetOutlookPathTest, ReadsTheNativeViewFirstThenThe32BitView) {
  const std::u16string sClsid = u"{0006F03A-0000-0000-C000-000000000046}";
  SetDefault(u"Outlook.Application\\CLSID", sClsid, platform::kRegSz, platform::kKeyWow64_32Key);
  SetDefault(u"CLSID\\" + sClsid + u"\\LocalServer32", u"C:\\x86\\OUTLOOK.EXE", platform::kRegSz,
             platform::kKeyWow64_32Key);
  EXPECT_EQ(mMain::GetOutlookPath(), u"C:\\x86\\OUTLOOK.EXE");
  SetDefault(u"CLSID\\" + sClsid + u"\\LocalServer32", u"C:\\x64\\OUTLOOK.EXE");
  EXPECT_EQ(mMain::GetOutlookPath(), u"C:\\x64\\OUTLOOK.EXE");
  EXPECT_EQ(reg_.OpenHandleCount(), 0u);
}

// A command line of the type REG_SZ comes as it stands; one of REG_EXPAND_SZ with
// its environment variables expanded, as COM expands it when it starts the server.
TEST_F(GetOutlookPathTest, AnswersTheRegisteredCommandLineExpandedOnlyWhenItsTypeSaysSo) {
  const std::u16string sClsid = u"{0006F03A-0000-0000-C000-000000000046}";
  SetDefault(u"Outlook.Application\\CLSID", sClsid);
  const std::u16string sCommand = u"\"%ProgramFiles%\\Microsoft Office\\OUTLOOK.EXE\" /automation";
  launcher_test::FakeProcesses sys;
  sys.environment[u"ProgramFiles"] = u"C:\\Program Files";
  launcher_test::UseFakeProcesses useSys(sys);
  const struct {
    uint32_t nType;
    std::u16string sExpected;
  } rows[] = {{platform::kRegSz, sCommand},
              {platform::kRegExpandSz, u"\"C:\\Program Files\\Microsoft Office\\OUTLOOK.EXE\" /automation"}};
  for (const auto& r : rows) {
    SetDefault(u"CLSID\\" + sClsid + u"\\LocalServer32", sCommand, r.nType);
    EXPECT_EQ(mMain::GetOutlookPath(), r.sExpected) << r.nType;
  }
  EXPECT_EQ(reg_.OpenHandleCount(), 0u);
}

}  // namespace
