// Windows only (run under Wine): what the fit check adds to LocalizeForm for the
// options dialog example. The example's dialog is created hidden from its own
// resource and localized from its English file again and again, without and with
// the check (5 % margin); prints the time of one LocalizeForm each way (the best
// of several batches) and the difference.
//
//   fit_check_figure [BATCHES]   (from build/win64-bench/tools/profile_figure, where
//                                 the example's language files are copied)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "twinsweep/lang/lang.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/win32/win32_forms.h"
#include "../examples/options_dialog/resource.h"

#include "performance_clock.h"

using namespace twinsweep;

namespace {

double Now() { return PerformanceSeconds(); }

// The example's name table (examples/options_dialog/options_dialog_main.cpp).
const platform::win32::ControlName kNames[] = {
    {IDOK, u"cmdOK"},          {IDC_INFO, u"lblInfo", 0},   {IDC_NAME, u"txtName"},
    {IDC_SEP, u"linSep"},      {IDC_MODE0, u"optMode", 0},  {IDC_MODE1, u"optMode", 1},
    {IDC_MODE2, u"optMode", 2}, {IDC_MODEFRAME, u"fraMode"}, {IDC_LOGO, u"imgLogo"},
};

INT_PTR CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();
  platform::win32::RegisterFormClasses();
  const int nBatches = argc > 1 ? _wtoi(argv[1]) : 7;
  const int nRuns = 50;
  HWND hDlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPTIONS), nullptr, NoProc, 0);
  if (!hDlg) {
    std::printf("the dialog could not be created\n");
    return 1;
  }
  auto frm = platform::win32::AttachForm(hDlg, u"frmOptions", {std::begin(kNames), std::end(kNames)});
  double best[2] = {1e9, 1e9};
  for (int b = 0; b < nBatches; ++b) {
    for (int nCheck = 0; nCheck < 2; ++nCheck) {
      CLang lang;
      if (!lang.Init(platform::App().AppFolder() + u"\\EN.lng", u"OptionsDialog")) {
        std::printf("EN.lng did not load\n");
        return 1;
      }
      lang.SetFitCheck(LangFitCheck{nCheck == 1, 5});
      const double t0 = Now();
      for (int r = 0; r < nRuns; ++r) lang.LocalizeForm(frm);
      best[nCheck] = std::min(best[nCheck], (Now() - t0) / nRuns);
    }
  }
  DestroyWindow(hDlg);
  std::printf("LocalizeForm of the options dialog (EN, %d controls): %.1f us without the fit check, %.1f us with it "
              "(+%.1f us, %.2fx)\n",
              static_cast<int>(std::size(kNames)), best[0] * 1e6, best[1] * 1e6, (best[1] - best[0]) * 1e6,
              best[1] / best[0]);
  return 0;
}
