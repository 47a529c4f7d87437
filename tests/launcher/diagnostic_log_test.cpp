#include <gtest/gtest.h>

#include <cstdint>

#include "twinsweep/launcher/diagnostic_log.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "support/recording_diagnostics.h"

using namespace twinsweep;

namespace {

using testing_support::RecordingDiagnostics;

const std::u16string kLog = u"C:\\Users\\Ann\\AppData\\Local\\Orvex\\Twinsweep\\TwinsweepLauncher.log";

class DiagnosticLog : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSink_ = mMain::SetLogSink(mMain::WriteLogEntry);
    mMain::SetLogFileEnabled(true);
  }
  void TearDown() override {
    mMain::SetLogSink(std::move(previousSink_));
    mMain::SetLogFileEnabled(false);
    base::ClearPending();
  }
  mMain::LogSink previousSink_;
  RecordingDiagnostics sys_;
  testing_support::ScopedLogSystem override_{sys_};
};

std::string Times(const std::string& s, size_t n) {
  std::string r;
  while (n--) r += s;
  return r;
}

TEST_F(DiagnosticLog, OneUtf8LinePerEntryWithTimeProcessSourceNumberAndText) {
  using Kind = mMain::LogEntry::Kind;
  const std::string kAt = "2026-03-04 05:06:07.089\t4242\tX\t0\t";
  const std::string kMore = "\xe2\x80\xa6 (";
  struct Case {
    mMain::LogEntry entry;
    std::string sExpected;
  } cases[] = {
      {{Kind::Error, u"CLang.Init", 53, u"File not found"},
       "2026-03-04 05:06:07.089\t4242\tCLang.Init\t53\tFile not found\r\n"},
      {{Kind::Debug, u"mMain.RunLaunchSequence", 0, u"Outlook is not running"},
       "2026-03-04 05:06:07.089\t4242\tmMain.RunLaunchSequence\t0\tOutlook is not running\r\n"},
      // Line ends of the text are shown, so that one entry stays one line.
      {{Kind::Error, u"X", -2147221164, u"a\r\nb\nc\rd"}, "2026-03-04 05:06:07.089\t4242\tX\t-2147221164\ta\\r\\nb\\nc\\rd\r\n"},
      // A tab in the source or the text makes no column of its own.
      {{Kind::Debug, u"S\tT", 0, u"LANG = D\tE"}, "2026-03-04 05:06:07.089\t4242\tS\\tT\t0\tLANG = D\\tE\r\n"},
      {{Kind::Debug, u"X", 0, u"M\u00f6chten \u65e5\u672c"}, "2026-03-04 05:06:07.089\t4242\tX\t0\tM\xc3\xb6" "chten \xe6\x97\xa5\xe6\x9c\xac\r\n"},
      // Source and text are cut to 8 KiB characters before they are escaped, never
      // inside a surrogate pair; what is left out is counted.
      {{Kind::Debug, u"X", 0, std::u16string(8192, u'a')}, kAt + std::string(8192, 'a') + "\r\n"},
      {{Kind::Debug, u"X", 0, std::u16string(9000, u'\t')}, kAt + Times("\\t", 8192) + kMore + "808 more characters)\r\n"},
      {{Kind::Debug, u"X", 0, std::u16string(8191, u'a') + u"\U0001F600b"},
       kAt + std::string(8191, 'a') + kMore + "3 more characters)\r\n"},
      {{Kind::Debug, std::u16string(8193, u'S'), 0, u"t"},
       "2026-03-04 05:06:07.089\t4242\t" + std::string(8192, 'S') + kMore + "1 more characters)\t0\tt\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(mMain::FormatLogLine(sys_.time, sys_.nProcessId, c.entry), c.sExpected);
}

// Whoever wrote a value, it cannot add a column or a line, nor pass for an
// escape: the backslash itself is escaped too.
TEST_F(DiagnosticLog, FieldsAreEscaped) {
  const struct {
    std::u16string sIn;
    std::u16string sOut;
  } rows[] = {{u"plain text", u"plain text"},
              {u"a\tb", u"a\\tb"},
              {u"a\r\nb", u"a\\r\\nb"},
              {u"C:\\x\\n", u"C:\\\\x\\\\n"},
              {std::u16string(u"a\0b", 3), u"a\\x00b"},
              {u"\x01\x1b\x1f", u"\\x01\\x1b\\x1f"},
              {u"a\u0085b\u2028c\u2029d", u"a\\u0085b\\u2028c\\u2029d"},
              {u"\u00e4 \u65e5 \x7f \u2027", u"\u00e4 \u65e5 \x7f \u2027"}};
  for (const auto& r : rows) EXPECT_EQ(mMain::EscapeLogField(r.sIn), r.sOut) << base::ToUtf8(r.sOut);
}

TEST_F(DiagnosticLog, EveryEntryGoesToTheDebugOutputTheFileOnlyWhenSwitchedOn) {
  mMain::SetLogFileEnabled(false);
  mMain::LogDebug(u"S", u"note");
  EXPECT_EQ(sys_.debugOutput, std::vector<std::u16string>{u"TwinsweepLauncher: S 0: note\n"});
  EXPECT_TRUE(sys_.files.empty());

  mMain::SetLogFileEnabled(true);
  base::SetPending(base::Failure(53, u"File not found"));
  mMain::LogError(u"CLang.Init", -1);
  mMain::LogDebug(u"S", u"second");
  ASSERT_EQ(sys_.debugOutput.size(), 3u);
  EXPECT_EQ(sys_.debugOutput[1], u"TwinsweepLauncher: CLang.Init 53: File not found\n");
  // The folders are made for the first entry; later ones are appended.
  EXPECT_EQ(sys_.files[kLog], "2026-03-04 05:06:07.089\t4242\tCLang.Init\t53\tFile not found\r\n"
                              "2026-03-04 05:06:07.089\t4242\tS\t0\tsecond\r\n");
}

TEST_F(DiagnosticLog, TheFileStaysBelowTheCapAndOnePreviousFileIsKept) {
  sys_.CreateFolders(kLog.substr(0, kLog.find_last_of(u'\\')));
  const std::string sLine = mMain::FormatLogLine(sys_.time, sys_.nProcessId, {mMain::LogEntry::Kind::Debug, u"S", 0, u"x"});
  sys_.files[kLog + u".1"] = "oldest";
  // Exactly at the cap after the next line: it still goes in.
  sys_.files[kLog] = std::string(mMain::kLogFileCap - sLine.size(), 'a');
  mMain::LogDebug(u"S", u"x");
  EXPECT_EQ(sys_.files[kLog].size(), static_cast<size_t>(mMain::kLogFileCap));
  EXPECT_EQ(sys_.files[kLog + u".1"], "oldest");
  // The line that would pass it starts a new file; the full one becomes ".1".
  mMain::LogDebug(u"S", u"x");
  EXPECT_EQ(sys_.files[kLog], sLine);
  EXPECT_EQ(sys_.files[kLog + u".1"].size(), static_cast<size_t>(mMain::kLogFileCap));
  EXPECT_EQ(sys_.files.size(), 2u);
}

// The cap holds when the full file cannot become the previous one (a viewer
// holds it, ".log.1" is a folder): the file is emptied and goes on; when it
// cannot be emptied either, the entry is dropped rather than the file grown.
TEST_F(DiagnosticLog, TheCapHoldsWhenThePreviousFileCannotBeReplaced) {
  sys_.CreateFolders(kLog.substr(0, kLog.find_last_of(u'\\')));
  const std::string sLine = mMain::FormatLogLine(sys_.time, sys_.nProcessId, {mMain::LogEntry::Kind::Debug, u"S", 0, u"x"});
  sys_.bFailReplace = true;
  sys_.files[kLog] = std::string(mMain::kLogFileCap - 1, 'a');
  mMain::LogDebug(u"S", u"x");
  EXPECT_EQ(sys_.files[kLog], sLine);
  EXPECT_EQ(sys_.files.count(kLog + u".1"), 0u);

  sys_.files[kLog] = std::string(mMain::kLogFileCap - 1, 'a');
  sys_.bFailWrites = true;
  mMain::LogDebug(u"S", u"x");
  EXPECT_EQ(sys_.files[kLog].size(), static_cast<size_t>(mMain::kLogFileCap - 1));
}

// A write cut short by a full disk leaves half a line; the next entry does not
// continue it.
TEST_F(DiagnosticLog, AfterAPartialWriteTheNextEntryStartsOnALineOfItsOwn) {
  sys_.CreateFolders(kLog.substr(0, kLog.find_last_of(u'\\')));
  const std::string sLine = mMain::FormatLogLine(sys_.time, sys_.nProcessId, {mMain::LogEntry::Kind::Debug, u"S", 0, u"x"});
  sys_.files[kLog] = "";
  sys_.nWriteRoom = 10;
  mMain::LogDebug(u"S", u"x");
  sys_.nWriteRoom = SIZE_MAX;
  mMain::LogDebug(u"S", u"x");
  mMain::LogDebug(u"S", u"x");
  EXPECT_EQ(sys_.files[kLog], sLine.substr(0, 10) + "\r\n" + sLine + sLine);
}

// Whatever the destinations do, the log keeps its promise: nothing fails, and the
// pending error is cleared by LogError and left alone by LogDebug.
TEST_F(DiagnosticLog, DestinationsThatFailOrRaiseAreDroppedAndThePendingErrorIsHandledAsAlways) {
  struct Case {
    const char* szName;
    bool bFailWrites, bRaise;
    std::u16string sLocalAppData;
  } cases[] = {{"writes fail", true, false, u"C:\\Users\\Ann\\AppData\\Local"},
               {"everything raises", false, true, u"C:\\Users\\Ann\\AppData\\Local"},
               {"no local application data", false, false, u""}};
  for (const auto& c : cases) {
    RecordingDiagnostics sys;
    sys.bFailWrites = c.bFailWrites;
    sys.bRaise = c.bRaise;
    sys.sLocalAppData = c.sLocalAppData;
    testing_support::ScopedLogSystem o(sys);
    base::SetPending(base::Failure(5, u"pending"));
    EXPECT_NO_THROW(mMain::LogDebug(u"S", u"note")) << c.szName;
    EXPECT_EQ(base::Pending().nNumber, 5) << c.szName;
    EXPECT_NO_THROW(mMain::LogError(u"S", -1)) << c.szName;
    EXPECT_FALSE(base::HasPending()) << c.szName;
    EXPECT_TRUE(sys.files.empty()) << c.szName;
  }
}

}  // namespace
