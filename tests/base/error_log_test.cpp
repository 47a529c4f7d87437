#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/error_log.h"
#include "support/log_capture.h"

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

}  // namespace
