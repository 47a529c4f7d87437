// An options dialog localized by CLang: the way a C++ program carries the engine.
//
// The dialog is designed in options_dialog.rc. In WM_INITDIALOG it is attached
// to the window framework with its name table, which gives each control the name
// that the language file uses, and handed to CLang, which applies the section
// [OptionsDialog.frmOptions] of the chosen language file (and writes
// Dump\frmOptions.txt first when that file asks for a dump).
//
//   options_dialog.exe [LANGID]
//
// LANGID names the language file LANGID.lng beside the program; without it the
// user's language of the product's key is used (CRegistryLangOptions), as the
// launcher does.
//
// The words after the number of days are a text with plural forms
// (LID_DAYS[0], [1], ...), chosen by ItemPlural for the number typed.
#include <iterator>

#include "twinsweep/base/variant.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_options.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/win32/win32_forms.h"
#include "twinsweep/platform/win32/win32_strings.h"
#include "resource.h"

namespace {

constexpr char16_t kMainSection[] = u"OptionsDialog";

// The controls of frmOptions, in the order in which the form enumerates them.
const platform::win32::ControlName kNames[] = {
    {IDOK, u"cmdOK"},
    {IDC_INFO, u"lblInfo", 0},
    {IDC_NAME, u"txtName"},
    {IDC_SEP, u"linSep"},
    {IDC_MODE0, u"optMode", 0},
    {IDC_MODE1, u"optMode", 1},
    {IDC_MODE2, u"optMode", 2},
    {IDC_MODEFRAME, u"fraMode"},
    {IDC_LOGO, u"imgLogo"},
};

constexpr UINT kDesignedDays = 3;

// The words after the number of days, in the form that the number takes.
void ShowDays(HWND hDlg) {
  auto* pLang = reinterpret_cast<CLang*>(GetWindowLongPtrW(hDlg, DWLP_USER));
  if (!pLang) return;
  BOOL bNumber = FALSE;
  const UINT nDays = GetDlgItemInt(hDlg, IDC_DAYS, &bNumber, FALSE);
  const std::u16string s = pLang->ItemPlural(u"LID_DAYS", bNumber ? nDays : 0);
  SetDlgItemTextW(hDlg, IDC_DAYSTEXT, reinterpret_cast<const wchar_t*>(s.c_str()));
}

INT_PTR CALLBACK OptionsProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  switch (nMsg) {
    case WM_INITDIALOG: {
      auto* pLang = reinterpret_cast<CLang*>(lParam);
      SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
      auto frm = platform::win32::AttachForm(hDlg, u"frmOptions", {std::begin(kNames), std::end(kNames)});
      // What a resource cannot hold is designed here: the tool tip and the choice.
      frm->Controls()->Find(u"txtName")->SetProperty(u"ToolTipText", base::Variant(u"\"name\""));
      CheckRadioButton(hDlg, IDC_MODE0, IDC_MODE2, IDC_MODE1);
      pLang->LocalizeForm(frm);
      SetDlgItemInt(hDlg, IDC_DAYS, kDesignedDays, FALSE);  // shows the days' words
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_DAYS && HIWORD(wParam) == EN_CHANGE) {
        ShowDays(hDlg);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR pszCmdLine, int) {
  // Positions in the screen's real pixels, so that twips mean the same at any resolution.
  SetProcessDPIAware();
  platform::win32::RegisterFormClasses();
  CLang lang;
  const std::u16string sLangID = platform::win32::FromWide(pszCmdLine, wcslen(pszCmdLine));
  CRegistryLangOptions productOptions(u"Software\\Orvex\\Twinsweep");
  if (sLangID.empty())
    lang.InitEx(kMainSection, productOptions);
  else
    lang.Init(platform::App().AppFolder() + u"\\" + sLangID + u".lng", kMainSection);
  DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_OPTIONS), nullptr, OptionsProc, reinterpret_cast<LPARAM>(&lang));
  return 0;
}
