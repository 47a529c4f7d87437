// A failure that no procedure handles reaches the entry procedure, which shows it in
// one OK-only box captioned "TwinsweepLauncher" and ends; a failure of the wizard
// call that a user meets gets a line below that says what to do.
//
// The failure provoked here is a real one: the mail client and the add-in appear to
// run (the test holds their mutexes), so the launcher goes straight to creating the
// mail client's automation object, whose class is not registered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/named_mutex.h"
#include "support/product_options.h"
#include "support/registry.h"
#include "support/shell_recorder.h"

namespace e2e {
namespace {

constexpr DWORD kRunTimeoutMs = 30000;

TEST(LauncherErrorBox, ShowsAnUnhandledFailureOnceAndEnds) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(L"EN", std::nullopt);
  ScopedNamedMutex outlook(L"_outlook_mutex_");
  ScopedNamedMutex addin(L"Orvex.Twinsweep.Addin");
  // No class behind the ProgID, whatever another scenario may have registered.
  ScopedRegistryValue noClass(HKEY_CLASSES_ROOT, L"Outlook.Application\\CLSID", L"", std::nullopt);
  LauncherInstall install(LauncherInstall::LanguageFiles::kShipped);

  ProcessTree launcher = install.Run(L"");
  auto box = WaitForMessageBox({launcher.Id(), std::wstring(L"TwinsweepLauncher")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no error box";
  // CO_E_CLASSSTRING in signed decimal, then the system's description of it and the
  // ProgID that could not be resolved; below it, what the user can do about it.
  const std::wstring sPrefix = L"Error(-2147221005): ";
  const std::wstring sSuffix = L" (Outlook.Application)";
  const size_t nBreak = box->sText.find(L"\r\n");
  ASSERT_NE(nBreak, std::wstring::npos) << box->sText;
  const std::wstring sFirst = box->sText.substr(0, nBreak);
  EXPECT_EQ(sFirst.substr(0, sPrefix.size()), sPrefix) << box->sText;
  ASSERT_GT(sFirst.size(), sPrefix.size() + sSuffix.size()) << box->sText;
  EXPECT_EQ(sFirst.substr(sFirst.size() - sSuffix.size()), sSuffix) << box->sText;
  EXPECT_EQ(box->sText.substr(nBreak + 2),
            L"Outlook or the Twinsweep add-in is not installed properly. Repair or reinstall Twinsweep (or Outlook) and "
            L"try again.");
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(box->bHasIcon);
  EXPECT_FALSE(launcher.WaitForExit(0)) << "the program ended while its box was up";

  ASSERT_TRUE(PressButton(*box, IDOK));
  // A second box would keep the program from ending.
  EXPECT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs)) << "the program did not end after OK";
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace e2e
