// An options dialog localized by CLang: the way a C++ program carries the engine.
//
// The dialog is designed in options_dialog.rc. In WM_INITDIALOG it is attached
// to the window framework with its name table, which gives each control the name
// that the language file uses, and handed to CLang, which applies the section
// [OptionsDialog.frmOptions] of the chosen language file (and writes
// Dump\frmOptions.txt first when that file asks for a dump).
//
//   options_dialog.exe [--check-fit[=MARGIN]] [--log FILE] [--localize-all-forms] [LANGID | FILE.lng]
//
// LANGID names the language file LANGID.lng beside the program, FILE.lng any
// language file; without either the user's language of the product's key is used
// (CRegistryLangOptions), as the launcher does.
//
// The switches are the pattern for any program that carries the engine, so that
// `lngcheck --fit` can check a translation against the program's real forms:
//   --check-fit[=MARGIN]  the fit check on, requiring MARGIN % of spare room (0)
//   --log FILE            the error log's entries appended to FILE, one a line:
//                         "source<TAB>number<TAB>text", then a tab before each of
//                         the entry's fields (lang_syntax.h), UTF-8; a tab or line
//                         break inside a column is written as a space
//   --localize-all-forms  every form created hidden and localized, nothing shown;
//                         the program then ends
//
// The words after the number of days are a text with plural forms
// (LID_DAYS[0], [1], ...), chosen by ItemPlural for the number typed.
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "twinsweep/base/error_log.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/variant.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_options.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/win32/win32_forms.h"
#include "twinsweep/platform/win32/win32_strings.h"
#include "resource.h"

#include <shellapi.h>

using namespace twinsweep;

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

// The program's arguments, as the switches above read them.
struct Arguments {
  bool bCheckFit = false;
  int nMarginPercent = 0;
  bool bLocalizeAllForms = false;
  std::wstring sLog;
  std::wstring sLanguage;  // LANGID or FILE.lng
};

Arguments ReadArguments() {
  Arguments a;
  int nArgs = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &nArgs);
  for (int i = 1; argv && i < nArgs; ++i) {
    const std::wstring s = argv[i];
    if (s == L"--check-fit" || s.rfind(L"--check-fit=", 0) == 0) {
      a.bCheckFit = true;
      if (s.size() > 12) a.nMarginPercent = _wtoi(s.c_str() + 12);
    } else if (s == L"--localize-all-forms") {
      a.bLocalizeAllForms = true;
    } else if (s == L"--log" && i + 1 < nArgs) {
      a.sLog = argv[++i];
    } else {
      a.sLanguage = s;
    }
  }
  LocalFree(argv);
  return a;
}

// Appends each error of the log to the file, one line each. The file is made
// empty first, so that a reader knows the program ran.
void LogErrorsTo(const std::wstring& sPath) {
  HANDLE hNew = CreateFileW(sPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hNew != INVALID_HANDLE_VALUE) CloseHandle(hNew);
  mMain::SetLogSink([sPath](const mMain::LogEntry& e) {
    if (e.kind != mMain::LogEntry::Kind::Error) return;
    std::vector<std::u16string> columns{e.sSource, base::FromUtf8(std::to_string(e.nNumber)), e.sText};
    columns.insert(columns.end(), e.fields.begin(), e.fields.end());
    std::u16string sLine;
    for (std::u16string& sColumn : columns) {
      for (char16_t& c : sColumn)
        if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
      if (&sColumn != &columns.front()) sLine += u'\t';
      sLine += sColumn;
    }
    const std::string sBytes = base::ToUtf8(sLine) + "\r\n";
    HANDLE h = CreateFileW(sPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, sBytes.data(), static_cast<DWORD>(sBytes.size()), &n, nullptr);
    CloseHandle(h);
  });
}

bool EndsWithLng(const std::wstring& s) { return s.size() > 4 && _wcsicmp(s.c_str() + s.size() - 4, L".lng") == 0; }

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
  // Positions in the screen's real pixels, so that twips mean the same at any resolution.
  SetProcessDPIAware();
  platform::win32::RegisterFormClasses();
  const Arguments args = ReadArguments();
  if (!args.sLog.empty()) LogErrorsTo(args.sLog);
  CLang lang;
  if (args.bCheckFit) lang.SetFitCheck(LangFitCheck{true, args.nMarginPercent});
  const std::u16string sLanguage = platform::win32::FromWide(args.sLanguage);
  CRegistryLangOptions productOptions(u"Software\\Orvex\\Twinsweep");
  if (sLanguage.empty())
    lang.InitEx(kMainSection, productOptions);
  else if (EndsWithLng(args.sLanguage))
    lang.Init(sLanguage, kMainSection);
  else
    lang.Init(platform::App().AppFolder() + u"\\" + sLanguage + u".lng", kMainSection);
  if (args.bLocalizeAllForms) {
    // Every form of the program, localized as when it appears, and never shown.
    HWND hDlg = CreateDialogParamW(hInstance, MAKEINTRESOURCEW(IDD_OPTIONS), nullptr, OptionsProc,
                                   reinterpret_cast<LPARAM>(&lang));
    if (hDlg) DestroyWindow(hDlg);
    return hDlg ? 0 : 1;
  }
  DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_OPTIONS), nullptr, OptionsProc, reinterpret_cast<LPARAM>(&lang));
  return 0;
}
