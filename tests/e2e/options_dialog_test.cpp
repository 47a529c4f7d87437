// The options dialog example (examples/options_dialog) as a user runs it: in each
// language its real windows carry the texts of that language file, read back
// from the windows, and a file that asks for a dump gets the dialog as designed;
// localized with the fit check at each common screen scale, every shipped
// language fits and the pseudo-language's longer texts do not.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../../examples/options_dialog/resource.h"
#include "lngcheck.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/temp_folder.h"
#include "support/utf8_text.h"
#include "support/win32_handle.h"

namespace e2e {
namespace {

constexpr DWORD kTimeoutMs = 20000;

std::string ReadBytes(const std::wstring& sPath) {
  const OwnedFile file(CreateFileW(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsValid()) return "";
  std::string s;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(file.Get(), buf, sizeof buf, &n, nullptr) && n > 0) s.append(buf, n);
  return s;
}

std::wstring ExampleFile(const std::wstring& sName) { return JoinPath(JoinPath(BuildRoot(), L"examples"), sName); }

// The example, its language files and picture in a folder of their own.
class ExampleInstall {
 public:
  ExampleInstall() : folder_(u"twinsweep-example") {
    for (const wchar_t* s : {L"options_dialog.exe", L"EN.lng", L"DE.lng", L"JA.lng", L"RU.lng", L"HE.lng", L"AR.lng",
                           L"logo.bmp"})
      folder_.CopyIn(Utf16(ExampleFile(s)), Utf16(s));
  }
  // The path of sName in the example's folder.
  std::wstring File(const std::wstring& sName) const { return Wide(folder_.File(Utf16(sName))); }
  void Write(const std::wstring& sName, const std::string& sBytes) const { folder_.Write(Utf16(sName), sBytes); }

 private:
  testing_support::TempFolder folder_;
};

// The dialog of the process, once it is shown.
HWND WaitForDialog(DWORD nProcessId) {
  for (DWORD n = 0; n < kTimeoutMs; n += 100) {
    struct Search {
      DWORD nProcessId;
      HWND hFound;
    } search{nProcessId, nullptr};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          DWORD nPid = 0;
          GetWindowThreadProcessId(h, &nPid);
          wchar_t szClass[16] = {};
          GetClassNameW(h, szClass, 16);
          if (nPid != s->nProcessId || wcscmp(szClass, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
          s->hFound = h;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.hFound) return search.hFound;
    Sleep(100);
  }
  return nullptr;
}

std::wstring TextOf(HWND h) {
  wchar_t sz[1024] = {};
  GetWindowTextW(h, sz, 1024);
  return sz;
}

// The entries of the form's section, values unquoted with "\n" as a line break:
// enough for the example's own files.
std::map<std::string, std::wstring> FormSection(const std::string& sFile) {
  std::map<std::string, std::wstring> out;
  std::istringstream in(sFile);
  std::string sLine;
  bool bIn = false;
  while (std::getline(in, sLine)) {
    if (!sLine.empty() && sLine.back() == '\r') sLine.pop_back();
    if (!sLine.empty() && sLine[0] == '[') bIn = sLine == "[OptionsDialog.frmOptions]";
    const size_t nEq = sLine.find('='), nOpen = sLine.find('"'), nClose = sLine.rfind('"');
    if (!bIn || nEq == std::string::npos || nOpen == nClose) continue;
    std::string sKey = sLine.substr(0, nEq);
    sKey.erase(sKey.find_last_not_of(' ') + 1);
    std::string sValue = sLine.substr(nOpen + 1, nClose - nOpen - 1);
    for (size_t p; (p = sValue.find("\\n")) != std::string::npos;) sValue.replace(p, 2, "\r\n");
    out[sKey] = FromUtf8(sValue);
  }
  return out;
}

class OptionsDialogExample : public ::testing::TestWithParam<const char*> {};

TEST_P(OptionsDialogExample, ItsWindowsCarryTheTextsOfTheLanguageFile) {
  ExampleInstall install;
  const std::wstring sLang = FromUtf8(GetParam());
  auto texts = FormSection(ReadBytes(install.File(sLang + L".lng")));
  ASSERT_FALSE(texts.empty());
  ProcessTree example(install.File(L"options_dialog.exe"), sLang);
  HWND hDlg = WaitForDialog(example.Id());
  ASSERT_TRUE(hDlg) << "no dialog";
  const struct {
    const char* sKey;
    int nId;  // 0: the dialog itself
  } cases[] = {
      {".Caption", 0},        {"cmdOK", IDOK},          {"lblInfo(0)", IDC_INFO},  {"fraMode", IDC_MODEFRAME},
      {"optMode(0)", IDC_MODE0}, {"optMode(1)", IDC_MODE1}, {"optMode(2)", IDC_MODE2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToUtf8(TextOf(c.nId ? GetDlgItem(hDlg, c.nId) : hDlg)), ToUtf8(texts.at(c.sKey))) << c.sKey;
  EXPECT_NE(SendMessageW(GetDlgItem(hDlg, IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "imgLogo.Picture";
  // Mirrored in a language written right to left, its logo not.
  const bool bRightToLeft = sLang == L"HE" || sLang == L"AR";
  EXPECT_EQ((GetWindowLongW(hDlg, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, bRightToLeft);
  EXPECT_EQ(GetWindowLongW(GetDlgItem(hDlg, IDC_LOGO), GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
  PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(example.WaitForExit(kTimeoutMs));
}

INSTANTIATE_TEST_SUITE_P(Languages, OptionsDialogExample, ::testing::Values("EN", "DE", "JA", "RU", "HE", "AR"));

// The words after the number of days take the plural form of the number typed,
// by each language's rule; the texts read back are printed for the record.
TEST(OptionsDialogExamplePlural, TheDaysTakeTheFormOfTheirNumber) {
  const struct {
    const wchar_t* sLang;
    std::vector<std::pair<const wchar_t*, const char*>> rows;  // number typed, text shown
  } cases[] = {
      {L"RU", {{L"1", "день истории хранится"}, {L"3", "дня истории хранятся"}, {L"5", "дней истории хранятся"},
               {L"21", "день истории хранится"}, {L"12", "дней истории хранятся"}}},
      {L"JA", {{L"1", "日分の履歴を保存します"}, {L"5", "日分の履歴を保存します"}}},
      {L"EN", {{L"1", "day of history is kept"}, {L"0", "days of history are kept"}}},
      {L"HE", {{L"1", "יום של היסטוריה נשמר"}, {L"2", "ימים של היסטוריה נשמרים"}}},
      // Arabic's six forms: zero, one, two, few (3-10), many (11-99), other.
      {L"AR", {{L"0", "يوم من السجل محفوظ"}, {L"1", "يوم واحد من السجل محفوظ"}, {L"2", "يومان من السجل محفوظان"},
               {L"7", "أيام من السجل محفوظة"}, {L"11", "يومًا من السجل محفوظًا"}, {L"100", "يوم من السجل محفوظ"}}},
  };
  ExampleInstall install;
  for (const auto& c : cases) {
    ProcessTree example(install.File(L"options_dialog.exe"), c.sLang);
    HWND hDlg = WaitForDialog(example.Id());
    ASSERT_TRUE(hDlg) << "no dialog";
    for (const auto& [sNumber, sShown] : c.rows) {
      SetDlgItemTextW(hDlg, IDC_DAYS, sNumber);
      const std::string sRead = ToUtf8(TextOf(GetDlgItem(hDlg, IDC_DAYSTEXT)));
      std::printf("%s %s: %s\n", ToUtf8(c.sLang).c_str(), ToUtf8(sNumber).c_str(), sRead.c_str());
      EXPECT_EQ(sRead, sShown) << ToUtf8(c.sLang) << " " << ToUtf8(sNumber);
    }
    PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(example.WaitForExit(kTimeoutMs));
  }
}

TEST(OptionsDialogExampleDump, ModeTwoWritesTheDesignedTexts) {
  ExampleInstall install;
  std::string sFile = ReadBytes(install.File(L"EN.lng"));
  const std::string sForms = "forms     = \"frmOptions\"\r\n";
  ASSERT_NE(sFile.find(sForms), std::string::npos);
  sFile.insert(sFile.find(sForms) + sForms.size(), "dumpforms = \"2\"\r\n");
  install.Write(L"EN.lng", sFile);
  ProcessTree example(install.File(L"options_dialog.exe"), L"EN");
  HWND hDlg = WaitForDialog(example.Id());
  ASSERT_TRUE(hDlg) << "no dialog";
  PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(example.WaitForExit(kTimeoutMs));
  // The blocks of the form and of cmdOK, lblInfo(0), txtName and linSep (which has
  // none in this mode) are the classic example's, byte for byte; the option
  // buttons, the frame and the image follow.
  EXPECT_EQ(ReadBytes(install.File(L"Dump\\frmOptions.txt")),
            "[OptionsDialog.frmOptions]\r\n"
            "; (frmOptions)\r\n"
            ".Caption\t\t\t=\"Options\"\r\n"
            "; cmdOK(CommandButton)\r\n"
            "cmdOK\t\t\t\t=\"OK\"\r\n"
            "; lblInfo(0)(Label)\r\n"
            "lblInfo(0)\t\t\t=\"Line one\\nLine two\"\r\n"
            "; txtName(TextBox)\r\n"
            "txtName\t\t\t\t=\"\"\r\n"
            "txtName.ToolTipText\t\t=\"\"\"name\"\"\"\r\n"
            "; optMode(0)(OptionButton)\r\n"
            "optMode(0)\t\t\t=\"&Simple\"\r\n"
            "; optMode(1)(OptionButton)\r\n"
            "optMode(1)\t\t\t=\"S&tandard\"\r\n"
            "; optMode(2)(OptionButton)\r\n"
            "optMode(2)\t\t\t=\"&Expert\"\r\n"
            "; fraMode(Frame)\r\n"
            "fraMode\t\t\t\t=\"&Mode\"\r\n"
            "; imgLogo(Image)\r\n"
            "imgLogo\t\t\t\t=\"\"\r\n");
}

// Each shipped language and the pseudo-language that lngcheck --pseudo makes of the
// English file, localized with the fit check (5 % of spare room asked, as the
// gallery asks) in a session whose screen has 96, 120, 144 and 192 pixels per inch.
TEST(OptionsDialogExampleFit, ShippedLanguagesFitAtEveryScaleAndThePseudoLanguageDoesNot) {
  ExampleInstall install;
  std::string sPseudo, sErr;
  ASSERT_EQ(lngcheck::Run({u"lngcheck", u"--pseudo", Utf16(install.File(L"EN.lng")), u"OptionsDialog"}, &sPseudo, &sErr), 0)
      << sErr;
  install.Write(L"XX.lng", sPseudo);
  std::map<int, std::string> pseudoReports;
  for (const DWORD nDpi : {96, 120, 144, 192}) {
    // Read by every process that starts from now on.
    const BYTE* p = reinterpret_cast<const BYTE*>(&nDpi);
    ScopedRegistryValue dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, {p, p + 4});
    for (const wchar_t* sLang : {L"EN", L"DE", L"JA", L"RU", L"HE", L"AR", L"XX"}) {
      const std::wstring sLog = install.File(std::wstring(L"fit-") + sLang + L".log");
      ProcessTree example(install.File(L"options_dialog.exe"),
                          L"--localize-all-forms --check-fit=5 --log \"" + sLog + L"\" " + sLang);
      ASSERT_TRUE(example.WaitForExit(kTimeoutMs)) << ToUtf8(sLang) << " at " << nDpi << " dpi";
      ASSERT_TRUE(IsFile(sLog)) << "no log: " << ToUtf8(sLang) << " at " << nDpi << " dpi";
      const std::string sReports = ReadBytes(sLog);
      if (std::wstring(sLang) != L"XX") {
        EXPECT_EQ(sReports, "") << ToUtf8(sLang) << " at " << nDpi << " dpi";
        continue;
      }
      EXPECT_NE(sReports.find("text of control '"), std::string::npos) << "pseudo-language at " << nDpi << " dpi";
      pseudoReports[static_cast<int>(nDpi)] = sReports;
      std::cout << "pseudo-language at " << nDpi << " dpi:\n" << sReports;
    }
  }
  // The scale took effect: what a control has and needs, in pixels, changed with it.
  EXPECT_NE(pseudoReports[96], pseudoReports[192]);
}

}  // namespace
}  // namespace e2e
