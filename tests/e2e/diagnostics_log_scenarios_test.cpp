// The diagnostics log of the real program: switched on by the DiagnosticLog option,
// written to the user's local application data (here a scenario's own folder, given
// to the launcher as LOCALAPPDATA). A declined question, a failed start of Outlook
// and a whole launch each leave their steps in it, and nothing of it is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/paths.h"
#include "support/policy_template.h"
#include "support/product_options.h"
#include "support/read_file.h"
#include "support/registry.h"
#include "support/standin_outlook.h"
#include "support/temp_folder.h"
#include "support/utf8_text.h"

namespace e2e {
namespace {

constexpr DWORD kTimeoutMs = 60000;
const std::string kNote = "\tmMain.RunLaunchSequence\t0\t";

// A value as the log writes it: its backslashes escaped.
std::string Logged(const std::wstring& s) {
  std::string r;
  for (char c : ToUtf8(s)) r += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return r;
}

std::vector<BYTE> Dword(DWORD n) { return {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)}; }

class DiagnosticsLogScenario : public ::testing::Test {
 protected:
  // Runs the launcher with the log's folder as its local application data and
  // answers its question with nButton.
  void RunAndAnswer(int nButton, EnvironmentChanges more = {}) {
    EnvironmentChanges environment = {{L"LOCALAPPDATA", Wide(appData_.Path())}};
    for (auto& change : more) environment.push_back(std::move(change));
    ProcessTree launcher(install_.ExePath(), L"", environment);
    auto box = WaitForMessageBox({launcher.Id(), std::wstring(L"Twinsweep")}, kTimeoutMs);
    ASSERT_TRUE(box) << "no question";
    ASSERT_TRUE(PressButton(*box, nButton));
    ASSERT_TRUE(launcher.WaitForExit(kTimeoutMs));
    // Nothing else was shown: a box of the launcher would have kept it alive.
    EXPECT_EQ(launcher.ExitCode(), std::optional<DWORD>(0));
  }
  // The notes of the launch sequence, without time and process id.
  std::vector<std::string> Notes() const {
    std::vector<std::string> notes;
    for (const auto& sLine : Lines()) {
      const size_t at = sLine.find(kNote);
      if (at != std::string::npos) notes.push_back(sLine.substr(at + kNote.size()));
    }
    return notes;
  }
  std::vector<std::string> Lines() const {
    const std::string sText = ReadWholeFile(Wide(appData_.File(u"Orvex\\Twinsweep\\TwinsweepLauncher.log")));
    std::vector<std::string> lines;
    for (size_t pos = 0, end; (end = sText.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      lines.push_back(sText.substr(pos, end - pos));
    return lines;
  }

  ScopedProductOptions options_{std::wstring(L"EN"), std::nullopt};
  ScopedRegistryValue enabled_{HKEY_CURRENT_USER, kOptionsKey, L"DiagnosticLog", REG_DWORD, Dword(1)};
  ScopedRegistryValue machine_{HKEY_LOCAL_MACHINE, kOptionsKey, L"DiagnosticLog", std::nullopt};
  LauncherInstall install_{LauncherInstall::LanguageFiles::kShipped};
  testing_support::TempFolder appData_{u"twinsweep-appdata"};
};

TEST_F(DiagnosticsLogScenario, DeclinedFailedStartAndWholeLaunchAreInTheFile) {
  {
    StandInOutlook outlook({}, StandInOutlook::Registration::kMissingProgram);
    RunAndAnswer(IDNO);
    RunAndAnswer(IDYES);
  }
  StandInSettings settings;
  settings.nAddinDelayMs = 1000;
  StandInOutlook outlook(settings);
  RunAndAnswer(IDYES);
  ASSERT_TRUE(outlook.WaitForEvent(L"execute", kTimeoutMs)) << outlook.RecordText();

  const std::vector<std::string> notes = Notes();
  const std::string sText = [&] {
    std::string s;
    for (const auto& sLine : Lines()) s += sLine + "\n";
    return s;
  }();
  ASSERT_EQ(notes.size(), 13u) << sText;
  EXPECT_EQ(notes[0], "Outlook is not running");
  EXPECT_EQ(notes[1], "the question was answered No (7)");
  EXPECT_EQ(notes[2], "silent end: the question was declined");
  EXPECT_EQ(notes[3], "Outlook is not running");
  EXPECT_EQ(notes[4], "the question was answered Yes (6)");
  EXPECT_EQ(notes[5].rfind("starting Outlook: \"", 0), 0u) << notes[5];
  EXPECT_EQ(notes[6].rfind("silent end: Outlook could not be started, system error ", 0), 0u) << notes[6];
  EXPECT_EQ(notes[7], "Outlook is not running");
  EXPECT_EQ(notes[8], "the question was answered Yes (6)");
  EXPECT_EQ(notes[9].rfind("starting Outlook: " + Logged(outlook.RegisteredCommandLine()) + " (program file: ", 0), 0u)
      << notes[9];
  EXPECT_EQ(notes[10].rfind("Outlook's mutex was there after ", 0), 0u) << notes[10];
  EXPECT_EQ(notes[11].rfind("the add-in's mutex was there after ", 0), 0u) << notes[11];
  EXPECT_EQ(notes[12], "the wizard call was made");
  // Every line: local time to the millisecond, process id, source, number, text.
  const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\t\d+\t[^\t]+\t-?\d+\t.*)");
  for (const auto& sLine : Lines()) EXPECT_TRUE(std::regex_match(sLine, line)) << sLine;
}

// A registration that names no program file that can be found: no start is
// tried, and the note says so rather than repeat an unrelated last error.
TEST_F(DiagnosticsLogScenario, NoProgramFileIsNotedWithoutAStaleSystemError) {
  StandInOutlook outlook({}, StandInOutlook::Registration::kNoProgramFile);
  RunAndAnswer(IDYES);
  const std::vector<std::string> notes = Notes();
  ASSERT_EQ(notes.size(), 4u);
  EXPECT_EQ(notes[2], "starting Outlook: twinsweep-no-such-mail /automation (program file: none found)");
  EXPECT_EQ(notes[3], "silent end: Outlook could not be started, no program file was found");
  EXPECT_TRUE(outlook.Events(L"start").empty()) << outlook.RecordText();
}

// A LocalServer32 of the type REG_EXPAND_SZ is started as COM starts it, with its
// environment variables expanded. (The stand-in ends before its add-in loads, so
// that the launch ends there, without automation.)
TEST_F(DiagnosticsLogScenario, AnExpandableRegistrationStartsTheProgramItNames) {
  StandInSettings settings;
  settings.nAddinDelayMs = -1;
  settings.nExitAfterMs = 1500;
  StandInOutlook outlook(settings, StandInOutlook::Registration::kExpandable);
  RunAndAnswer(IDYES, {{StandInOutlook::kFolderVariable, outlook.Folder()}});
  EXPECT_EQ(outlook.StartedExes(), std::vector<std::wstring>{outlook.Exe()}) << outlook.RecordText();
  const std::vector<std::string> notes = Notes();
  ASSERT_GE(notes.size(), 3u);
  EXPECT_EQ(notes[2], "starting Outlook: \"" + Logged(outlook.Exe()) + "\" /automation (program file: " +
                          Logged(outlook.Exe()) + ")");
  EXPECT_EQ(notes.back().rfind("silent end: Outlook ended before the add-in appeared", 0), 0u) << notes.back();
}

// A LANG that holds a tab (anyone who can write the user's registry can put one
// there) stays inside its field: every line keeps its five fields.
TEST_F(DiagnosticsLogScenario, ALanguageHoldingATabCannotAddAColumn) {
  ScopedRegistryValue lang(HKEY_CURRENT_USER, kOptionsKey, L"LANG", std::wstring(L"D\tE\r\nforged"));
  StandInOutlook outlook({});
  RunAndAnswer(IDNO);
  bool bMentioned = false;
  for (const auto& sLine : Lines()) {
    EXPECT_EQ(std::count(sLine.begin(), sLine.end(), '\t'), 4) << sLine;
    bMentioned = bMentioned || sLine.find("D\\tE\\r\\nforged") != std::string::npos;
  }
  EXPECT_TRUE(bMentioned);
}

// When the full log cannot become TwinsweepLauncher.log.1 (here a folder of that
// name is in the way), the log is emptied and goes on rather than growing.
TEST_F(DiagnosticsLogScenario, ALogWhoseRenameFailsStaysUnderTheCap) {
  const std::wstring sLog = Wide(appData_.File(u"Orvex\\Twinsweep\\TwinsweepLauncher.log"));
  appData_.MakeFolder(u"Orvex");
  appData_.MakeFolder(u"Orvex\\Twinsweep");
  appData_.MakeFolder(u"Orvex\\Twinsweep\\TwinsweepLauncher.log.1");
  const size_t kCap = 1024 * 1024;
  std::string sFull;
  while (sFull.size() + 100 < kCap) sFull += "2026-01-01 00:00:00.000\t1\told\t0\t" + std::string(60, 'x') + "\r\n";
  appData_.Write(u"Orvex\\Twinsweep\\TwinsweepLauncher.log", sFull);
  StandInOutlook outlook({});
  RunAndAnswer(IDNO);
  RunAndAnswer(IDNO);
  const std::string sText = ReadWholeFile(sLog);
  EXPECT_LE(sText.size(), kCap);
  EXPECT_LT(sText.size(), sFull.size());
  EXPECT_NE(sText.find("silent end: the question was declined"), std::string::npos);
  EXPECT_TRUE(IsFolder(sLog + L".1"));
}

// The log policy, set where the policy template says, in each scope it is for:
// Enabled writes the log although the user's own option is off, Disabled writes
// none although it is on.
TEST_F(DiagnosticsLogScenario, ThePolicyWinsOverTheUsersOption) {
  const PolicyPlace place = ReadPolicyPlace("DiagnosticLog");
  ASSERT_TRUE(place.vEnabled && place.vDisabled) << "the template's log policy writes no DWORDs";
  std::optional<ScopedRegistryValue> cleared[2];
  for (size_t n = 0; n < place.roots.size() && n < 2; ++n)
    cleared[n].emplace(place.roots[n], place.sKey, place.sValueName, std::nullopt);
  const std::wstring sLog = Wide(appData_.File(u"Orvex\\Twinsweep\\TwinsweepLauncher.log"));
  for (HKEY hRoot : place.roots) {
    for (bool bEnabled : {true, false}) {
      const char* szRow = hRoot == HKEY_LOCAL_MACHINE ? "machine policy" : "user policy";
      ScopedRegistryValue user(HKEY_CURRENT_USER, kOptionsKey, L"DiagnosticLog", REG_DWORD, Dword(bEnabled ? 0 : 1));
      ScopedRegistryValue policy(hRoot, place.sKey, place.sValueName, REG_DWORD,
                                 Dword(bEnabled ? *place.vEnabled : *place.vDisabled));
      StandInOutlook outlook({});
      RunAndAnswer(IDNO);
      EXPECT_EQ(IsFile(sLog), bEnabled) << szRow << (bEnabled ? " enabled" : " disabled");
      if (bEnabled) {
        EXPECT_FALSE(Notes().empty()) << szRow;
      }
      DeleteFileW(sLog.c_str());
    }
  }
}

TEST_F(DiagnosticsLogScenario, WithoutTheOptionNoFileIsWritten) {
  ScopedRegistryValue off(HKEY_CURRENT_USER, kOptionsKey, L"DiagnosticLog", REG_DWORD, Dword(0));
  StandInOutlook outlook({});
  RunAndAnswer(IDNO);
  EXPECT_FALSE(IsFolder(Wide(appData_.File(u"Orvex"))));
}

}  // namespace
}  // namespace e2e
