#include <gtest/gtest.h>

#include <stdexcept>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/error_log.h"
#include "support/log_capture.h"

using namespace twinsweep;

namespace {

using testing_support::LogCapture;

void MakePending(int32_t nNumber, const std::u16string& sText, int32_t nLine = 0) {
  base::SetPending(base::Failure(nNumber, sText), nLine);
}

TEST(ErrorLog, EntriesAreComposedFromThePendingErrorAndClearIt) {
  struct Case {
    int32_t nNumber;
    std::optional<std::u16string> vDescription, vExtra;
    int32_t nLine;
    std::string sExpected;
  } cases[] = {
      {-1, std::nullopt, std::nullopt, 0, "E|X|53|File not found"},
      {-1, std::nullopt, u"file = 'a'", 0, "E|X|53|File not found; file = 'a'"},
      {0, u"text", std::nullopt, 0, "E|X|0|text"},
      {-1, u"", std::nullopt, 0, "E|X|53|"},  // an empty description is not an omitted one
      {-1, std::nullopt, std::nullopt, 12, "E|X(12)|53|File not found"},
  };
  for (const auto& c : cases) {
    LogCapture log;
    MakePending(53, u"File not found", c.nLine);
    mMain::LogError(u"X", c.nNumber, c.vDescription, c.vExtra);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], c.sExpected);
    EXPECT_FALSE(base::HasPending());
  }
}

TEST(ErrorLog, AssertionsReportOnlyWhenFalseAndDebugLeavesThePendingError) {
  LogCapture log;
  MakePending(5, u"pending");
  mMain::AssertTrue(true, u"X", u"m");
  mMain::LogDebug(u"X", u"note");
  EXPECT_EQ(base::Pending().nNumber, 5);
  mMain::AssertTrue(false, u"X", u"m");
  EXPECT_FALSE(base::HasPending());
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"D|X|0|note", "E|X|0|ASSERT FAILED - m"}));
}

// The program's sink gets every entry, as the observer does; a sink that throws
// fails no caller, and setting one answers the one it replaces.
TEST(ErrorLog, TheSinkGetsEveryEntryAndItsFaultsStayInside) {
  std::vector<std::string> sunk;
  auto previous = mMain::SetLogSink([&](const mMain::LogEntry& e) {
    sunk.push_back(base::ToUtf8(e.sSource + u"|" + e.sText));
    if (e.sText == u"throw") throw std::runtime_error("sink fault");
  });
  LogCapture log;
  MakePending(5, u"pending");
  EXPECT_NO_THROW(mMain::LogError(u"X", 0, u"throw"));
  EXPECT_FALSE(base::HasPending());
  mMain::LogDebug(u"Y", u"note");
  mMain::AssertTrue(false, u"Z", u"m");
  EXPECT_EQ(sunk, (std::vector<std::string>{"X|throw", "Y|note", "Z|ASSERT FAILED - m"}));
  EXPECT_EQ(log.Lines().size(), 3u);
  auto mine = mMain::SetLogSink(std::move(previous));
  ASSERT_TRUE(mine);
  mMain::LogDebug(u"W", u"after");
  EXPECT_EQ(sunk.size(), 3u);
}

}  // namespace
