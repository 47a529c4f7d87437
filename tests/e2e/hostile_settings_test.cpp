// Settings that someone else wrote into the user's registry: a value with an inner
// NUL, identifiers that are paths or carry quotes, a remembered language file
// outside the program's folder; and language files that do not load (locked,
// missing, of another encoding, holding a NUL). The pass condition is what did not happen: no
// planted program ran, and nothing outside the program's folder was opened or loaded.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/product_options.h"
#include "support/registry.h"
#include "support/shell_recorder.h"
#include "support/standin_outlook.h"
#include "support/paths.h"
#include "support/temp_folder.h"
#include "support/win32_handle.h"

namespace e2e {
namespace {

constexpr DWORD kRunTimeoutMs = 30000;
const std::wstring kProductSite = std::wstring(TWINSWEEP_WEB_SCHEME) + L"://" + TWINSWEEP_PRODUCT_HOST;
const std::wstring kMakerSite = std::wstring(TWINSWEEP_WEB_SCHEME) + L"://" + TWINSWEEP_MAKER_HOST;

// A folder beside the program's own (both are in the temporary folder), reached
// from the program's folder as "..\<name>".
class PlantedFolder : public testing_support::TempFolder {
 public:
  PlantedFolder() : TempFolder(u"twinsweep-planted") {}
  std::wstring WPath() const { return Wide(Path()); }
  std::wstring FromProgramFolder(const std::wstring& sName) const {
    return L"..\\" + WPath().substr(WPath().rfind(L'\\') + 1) + L"\\" + sName;
  }
  void WriteFile(const std::wstring& sName, const std::string& sContent) const { (void)Write(Utf16(sName), sContent); }
};

std::vector<BYTE> StringBytes(const std::wstring& s) {
  const BYTE* p = reinterpret_cast<const BYTE*>(s.data());
  return std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t));
}

// "LANG" = <a program outside the folder> NUL "x": the help file name built from it
// would reach the system as the program's name.
TEST(HostileSettings, LanguageWithAnInnerNulOpensNoProgram) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(std::nullopt, std::nullopt);
  PlantedFolder planted;
  StandInOutlook program({}, StandInOutlook::Registration::kNoLocalServer);
  program.InstallCopy(planted.WPath(), L"prog.exe");
  const std::wstring sLang = planted.FromProgramFolder(L"prog.exe");
  ScopedRegistryValue lang(HKEY_CURRENT_USER, kOptionsKey, L"LANG", REG_SZ, StringBytes(sLang + L'\0' + L"x"));
  LauncherInstall install;
  ProcessTree launcher = install.Run(L"help");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_TRUE(program.Events(L"start").empty()) << program.RecordText();
  const std::wstring sEncoded = L"..%5C" + planted.WPath().substr(planted.WPath().rfind(L'\\') + 1) + L"%5Cprog.exe";
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{kProductSite + L"/" + sEncoded + L"/WebHelp/TwinsweepHelp.htm"});
}

// An identifier that is not a plain name never names a help file, even one that is
// there; in addresses it is percent-encoded, so it adds no argument for the browser.
struct IdentifierCase {
  const char* szName;
  std::wstring sArgs;
  std::wstring sLangId;  // "@" stands for the name of the planted folder
  std::wstring sTarget;  // likewise
};

std::ostream& operator<<(std::ostream& os, const IdentifierCase& c) { return os << c.szName; }

class HostileIdentifier : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(HostileIdentifier, OpensOnlyTheEncodedAddress) {
  const IdentifierCase& c = GetParam();
  ShellOpenRecorder recorder;
  PlantedFolder planted;
  planted.WriteFile(L"x_Twinsweep.chm", "planted help file");
  const std::wstring sPlanted = planted.WPath().substr(planted.WPath().rfind(L'\\') + 1);
  std::wstring sLangId = c.sLangId, sTarget = c.sTarget;
  for (std::wstring* s : {&sLangId, &sTarget}) {
    for (size_t n; (n = s->find(L'@')) != std::wstring::npos;) s->replace(n, 1, sPlanted);
  }
  ScopedProductOptions options(sLangId, std::nullopt);
  LauncherInstall install;
  install.AddFile(L"Twinsweep.chm", "help file");
  ProcessTree launcher = install.Run(c.sArgs);
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{sTarget});
}

const IdentifierCase kIdentifierCases[] = {
    {"PathOutOfTheFolder", L"help", L"..\\@\\x", kProductSite + L"/..%5C@%5Cx/WebHelp/TwinsweepHelp.htm"},
    {"QuotesAndBlanksForHelp", L"help", L"DE\" \"--x", kProductSite + L"/DE%22%20%22--x/WebHelp/TwinsweepHelp.htm"},
    {"QuotesAndBlanksForPurchase", L"buyonline", L"DE\" \"--x",
     kMakerSite + L"/purchase_twinsweep.asp?lang=DE%22%20%22--x"},
};

INSTANTIATE_TEST_SUITE_P(Identifier, HostileIdentifier, ::testing::ValuesIn(kIdentifierCases),
                         [](const auto& info) { return std::string(info.param.szName); });

// "LANG_" naming a language file outside the folder: its texts never reach the
// question, which comes from the folder's own file for the language.
TEST(HostileSettings, RememberedLanguageFileOutsideTheFolderIsNotLoaded) {
  PlantedFolder planted;
  planted.WriteFile(L"evil.lng",
                    "[version]\r\nsignature = \"Orvex.LangLngFile\"\r\nlang = \"English\"\r\nlangid = \"EN\"\r\n"
                    "[TwinsweepLauncher]\r\nglobals = \"texts\"\r\n"
                    "[TwinsweepLauncher.texts]\r\nLID_TITLE = \"Twinsweep\"\r\nLID_RUN_OUTLOOK = \"PLANTED TEXT\"\r\n");
  ScopedProductOptions options(L"EN", planted.FromProgramFolder(L"evil.lng"));
  LauncherInstall install(LauncherInstall::LanguageFiles::kShipped);
  ProcessTree launcher = install.Run(L"");
  auto box = WaitForMessageBox({launcher.Id(), std::wstring(L"Twinsweep")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no question was asked";
  EXPECT_EQ(box->sText, L"Microsoft Outlook is not running.\r\nDo you want to start Outlook now?");
  ASSERT_TRUE(PressButton(*box, IDNO));
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  // The listing chose the folder's own file and remembered it instead.
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kOptionsKey, L"LANG_"), std::optional<std::wstring>(L"EN.lng"));
}

// Whatever lies in the folder, the question is asked in words: in the user's
// language when a file has it in another letter case, else in English from the
// folder's English file, else in the English texts built into the program. None
// of these is remembered: LANG and LANG_ stay as they were.
struct FallbackCase {
  const char* szName;
  std::optional<std::wstring> vLang, vLangFile;
  bool bShipped;                // the shipped language files lie in the folder
  std::string sOwnEnglish;      // else this EN.lng ("" for none)
  const wchar_t* szLocked;      // a file held open by another program without sharing
  std::wstring sQuestion;
};

std::ostream& operator<<(std::ostream& os, const FallbackCase& c) { return os << c.szName; }

class LanguageFallback : public ::testing::TestWithParam<FallbackCase> {};

const std::wstring kEnglishQuestion = L"Microsoft Outlook is not running.\r\nDo you want to start Outlook now?";
const std::wstring kGermanQuestion = L"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?";

std::string EnglishFile(const std::string& sQuestion) {
  return "[version]\r\nsignature = \"Orvex.LangLngFile\"\r\nlang = \"English\"\r\nlangid = \"EN\"\r\n"
         "[TwinsweepLauncher]\r\nglobals = \"texts\"\r\n[TwinsweepLauncher.texts]\r\n"
         "LID_TITLE = \"Twinsweep\"\r\nLID_RUN_OUTLOOK = \"" + sQuestion + "\"\r\n";
}

// The same file saved as UTF-16 with its byte-order mark, as some editors save it.
std::string Utf16File(const std::string& sAscii) {
  std::string s = "\xFF\xFE";
  for (char c : sAscii) s += std::string{c, '\0'};
  return s;
}

TEST_P(LanguageFallback, TheQuestionIsInWordsAndNothingIsRemembered) {
  const FallbackCase& c = GetParam();
  ScopedProductOptions options(c.vLang, c.vLangFile);
  LauncherInstall install(c.bShipped ? LauncherInstall::LanguageFiles::kShipped : LauncherInstall::LanguageFiles::kNone);
  if (!c.sOwnEnglish.empty()) install.AddFile(L"EN.lng", c.sOwnEnglish);
  OwnedFile locked;
  if (c.szLocked) {
    locked.Reset(CreateFileW((install.Folder() + L"\\" + c.szLocked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked.IsValid());
  }
  ProcessTree launcher = install.Run(L"");
  auto box = WaitForMessageBox({launcher.Id(), std::wstring(L"Twinsweep")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no question in words was asked";
  EXPECT_EQ(box->sText, c.sQuestion);
  ASSERT_TRUE(PressButton(*box, IDNO));
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kOptionsKey, L"LANG"), c.vLang);
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kOptionsKey, L"LANG_"), c.vLangFile);
}

const FallbackCase kFallbackCases[] = {
    {"NoLanguageFiles", L"EN", std::nullopt, false, "", nullptr, kEnglishQuestion},
    {"ChosenFileLockedEnglishThere", L"DE", L"DE.lng", true, "", L"DE.lng", kEnglishQuestion},
    {"LanguageInOtherCase", L"de", std::nullopt, true, "", nullptr, kGermanQuestion},
    {"LanguageNotShipped", L"NL", std::nullopt, true, "", nullptr, kEnglishQuestion},
    {"OnlyFileIsUtf16", L"EN", std::nullopt, false, Utf16File(EnglishFile("from the UTF-16 file")), nullptr,
     kEnglishQuestion},
    // A NUL cuts the text as the system's string readers cut it: the question is
    // shown up to it rather than not at all.
    {"NulInTheQuestion", L"EN", L"EN.lng", false, EnglishFile(std::string("Start Outlook?") + '\0' + " (hidden)"), nullptr,
     L"Start Outlook?"},
};

INSTANTIATE_TEST_SUITE_P(Language, LanguageFallback, ::testing::ValuesIn(kFallbackCases),
                         [](const auto& info) { return std::string(info.param.szName); });

}  // namespace
}  // namespace e2e
