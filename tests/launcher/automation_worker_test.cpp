// The call watch on real and staged threads: a call that ends at the limit is
// either given up or goes on, never both, and what is given up ran the limit.
#include <gtest/gtest.h>

#include <cstdio>

#include "twinsweep/launcher/automation_worker.h"
#include "launcher_doubles.h"
#include "support/null_services.h"

using namespace twinsweep;

namespace {

constexpr uint32_t kLimitMs = 1;
constexpr int kRounds = 1500;

// A call that ends just at the limit, on real threads: the caller gives it up or
// the worker goes on, never both, so the user never gets the error box and the
// wizard from one call.
TEST(CallLimitRace, ACallEndingAtTheLimitGivesTheBoxOrAFurtherCallNeverBoth) {
  // The slow call runs for the limit; the further call is a member of the object it answers, so
  // that a give-up names the call it took.
  struct Further : testing_support::NullAutomationObject {
    std::atomic<int>& n;
    explicit Further(std::atomic<int>& nCalls) : n(nCalls) {}
    platform::AutomationResult Invoke(std::u16string_view, platform::InvokeKind, const platform::AutomationArgs&) override {
      return ++n, platform::AutomationResult{};
    }
  };
  class AtTheLimit : public platform::IAutomation {
   public:
    std::atomic<int> nFurther{0};
    platform::AutomationObject CreateObject(std::u16string_view) override {
      for (const uint64_t nEnd = platform::Clock().TickCount() + kLimitMs; platform::Clock().TickCount() < nEnd;) {}
      return std::make_shared<Further>(nFurther);
    }
  } automation;
  launcher_test::HangGate gate;
  launcher_test::FakeWorkerThreads threads(nullptr, gate);
  threads.nRealWait = std::chrono::milliseconds(0);
  platform::ScopedOverride<platform::IAutomation> useAutomation(automation);
  platform::ScopedOverride<platform::IWorkerThreads> useThreads(threads);
  int nBoth = 0, nGivenUp = 0;
  for (int i = 0; i < kRounds; ++i) {
    automation.nFurther = 0;
    bool bGivenUp = false;
    try {
      mMain::RunWithCallLimit(
          [](platform::IAutomation& a) { a.CreateObject(u"slow")->Invoke(u"Further", platform::InvokeKind::Method, {}); },
          kLimitMs);
    } catch (const base::Failure& f) {
      EXPECT_EQ(f.Number(), platform::kRpcECallCanceled);
      // A further call held up past the limit itself (a loaded machine) is given up rightly.
      bGivenUp = f.Description().find(u"call of CreateObject") != std::u16string::npos;
    }
    threads.FinishLeftBehind();
    nGivenUp += bGivenUp;
    nBoth += bGivenUp && automation.nFurther != 0;
  }
  std::printf("a call ending at the limit: %d of %d given up\n", nGivenUp, kRounds);
  EXPECT_EQ(nBoth, 0);
}

// The watch on a clock that each thread reads for itself: the waiter's advances a
// poll a read, the worker's runs nSkewMs ahead. The first call begins during the
// waiter's first look at it and, with bNextAtLimit, ends during the look that finds
// it at the limit, the next beginning at once. Whatever is given up ran the limit.
TEST(CallLimitRace, TheCallGivenUpIsTheOneThatRanForTheLimit) {
  constexpr uint32_t kWatchLimitMs = 1000;
  class Staged : public launcher_test::FakeProcesses, public platform::IAutomation {
   public:
    uint64_t nSkewMs = 0, nRead = 1000, nBegunAt = 0;
    bool bNextAtLimit = false;
    int nReads = 0, nStage = 0, nInCall = 0;
    std::mutex m;
    std::condition_variable cv;
    const std::thread::id waiter = std::this_thread::get_id();
    uint64_t TickCount() override {
      if (std::this_thread::get_id() != waiter) return nBegunAt = nRead + nSkewMs;
      nRead += mMain::kCallWatchPollMs;
      if (++nReads == 2 || (bNextAtLimit && nStage == 1 && nRead >= nBegunAt + kWatchLimitMs)) Stage(nStage + 1);
      return nRead;
    }
    // The waiter lets call n begin (and the one before end) and waits until it has begun.
    void Stage(int n) {
      std::unique_lock<std::mutex> lock(m);
      nStage = n;
      cv.notify_all();
      cv.wait(lock, [&] { return nInCall >= n || n > 2; });
    }
    // The worker's calls: each waits for its stage before it begins and for the next before it ends.
    void Await(int n) {
      std::unique_lock<std::mutex> lock(m);
      nInCall += n > 1;
      cv.notify_all();
      cv.wait(lock, [&] { return nStage >= n; });
    }
    platform::AutomationObject CreateObject(std::u16string_view) override { return Await(nInCall + 2), nullptr; }
  };
  const std::pair<int, bool> rows[] = {{0, false}, {1, false}, {16, false}, {0, true}, {1, true}, {16, true}};
  for (const auto& [nSkewMs, bNextAtLimit] : rows) {
    SCOPED_TRACE(std::to_string(nSkewMs) + (bNextAtLimit ? " ms, next call at the limit" : " ms"));
    Staged staged;
    staged.nSkewMs = static_cast<uint64_t>(nSkewMs);
    staged.bNextAtLimit = bNextAtLimit;
    launcher_test::HangGate gate;
    launcher_test::FakeWorkerThreads threads(nullptr, gate);
    threads.nRealWait = std::chrono::milliseconds(0);
    platform::ScopedOverride<platform::IClock> useClock(staged);
    platform::ScopedOverride<platform::IAutomation> useAutomation(staged);
    platform::ScopedOverride<platform::IWorkerThreads> useThreads(threads);
    auto job = [&](platform::IAutomation& a) { staged.Await(1), a.CreateObject(u"first"), a.CreateObject(u"next"); };
    EXPECT_THROW(mMain::RunWithCallLimit(job, kWatchLimitMs), base::Failure);
    EXPECT_EQ(staged.nInCall, bNextAtLimit ? 2 : 1);
    EXPECT_GE(staged.nRead, staged.nBegunAt + kWatchLimitMs);
    staged.Stage(3);
    threads.FinishLeftBehind();
  }
}

}  // namespace
