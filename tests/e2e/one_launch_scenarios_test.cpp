// One launch at a time: a second launcher started while the first one asks its
// question ends at once without asking, starting or calling anything, and brings
// the first one's question to the front. "help" is not affected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/product_options.h"
#include "support/shell_recorder.h"
#include "support/standin_outlook.h"

namespace e2e {
namespace {

constexpr DWORD kTimeoutMs = 30000;

// A plain window of the test's own, to take the front from the question.
class TestWindow {
 public:
  TestWindow()
      : hWnd_(CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, nullptr, nullptr)) {}
  ~TestWindow() { DestroyWindow(hWnd_); }
  HWND Get() const { return hWnd_; }

 private:
  HWND hWnd_;
};

TEST(OneLaunch, ASecondLauncherEndsAndBringsTheFirstOnesQuestionToTheFront) {
  ScopedProductOptions options(std::wstring(L"EN"), std::nullopt);
  StandInOutlook outlook({});
  LauncherInstall install(LauncherInstall::LanguageFiles::kShipped);
  ProcessTree first(install.ExePath(), L"");
  auto box = WaitForMessageBox({first.Id(), std::wstring(L"Twinsweep")}, kTimeoutMs);
  ASSERT_TRUE(box) << "no question";

  {
    // The window goes before "help" runs: the shell's open broadcasts to every
    // top-level window and would wait for this thread, which pumps no messages.
    TestWindow elsewhere;
    SetForegroundWindow(elsewhere.Get());
    ASSERT_NE(GetForegroundWindow(), box->hWnd);
    // From another installation too: the mutex is the user session's.
    LauncherInstall other(LauncherInstall::LanguageFiles::kShipped, L"Other Launcher");
    ProcessTree second(other.ExePath(), L"");
    ASSERT_TRUE(second.WaitForTreeExit(kTimeoutMs)) << "the second launcher did not end by itself";
    EXPECT_EQ(GetForegroundWindow(), box->hWnd);
  }

  // "help" runs while a launch sequence is on.
  {
    ShellOpenRecorder recorder;
    ProcessTree help(install.ExePath(), L"help");
    ASSERT_TRUE(help.WaitForTreeExit(kTimeoutMs));
    EXPECT_EQ(recorder.Targets().size(), 1u);
  }

  // The first one's question is still there and still works.
  ASSERT_TRUE(PressButton(*box, IDNO));
  ASSERT_TRUE(first.WaitForExit(kTimeoutMs));
  EXPECT_TRUE(outlook.Events(L"start").empty()) << outlook.RecordText();

  // Once the first has ended, the next launcher asks again.
  ProcessTree third(install.ExePath(), L"");
  auto again = WaitForMessageBox({third.Id(), std::wstring(L"Twinsweep")}, kTimeoutMs);
  ASSERT_TRUE(again) << "no question after the first launcher ended";
  ASSERT_TRUE(PressButton(*again, IDNO));
  ASSERT_TRUE(third.WaitForExit(kTimeoutMs));
}

}  // namespace
}  // namespace e2e
