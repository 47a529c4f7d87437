// Which program file a registered command line starts, over scripted files, the
// in-memory registry (App Paths in both views) and a scripted system search.
#include <gtest/gtest.h>

#include <set>

#include "twinsweep/base/text.h"
#include "twinsweep/launcher/application_name.h"
#include "launcher_doubles.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "support/pass_through_files.h"

using namespace twinsweep;

namespace {

constexpr platform::FileHandle kQueryHandle = 0x5150;

// Files that exist, and folders (which cannot be opened for a query, as on Windows).
class ScriptedFiles : public testing_support::PassThroughFiles {
 public:
  std::set<std::u16string> files, folders;
  int32_t OpenForQuery(std::u16string_view s, platform::FileHandle* p) override {
    *p = platform::kInvalidFile;
    if (folders.count(std::u16string(s))) return platform::kErrorAccessDenied;
    if (!files.count(std::u16string(s))) return platform::kErrorFileNotFound;
    *p = kQueryHandle;
    return platform::kErrorSuccess;
  }
  int32_t Close(platform::FileHandle h) override {
    return h == kQueryHandle ? platform::kErrorSuccess : PassThroughFiles::Close(h);
  }
};

const std::u16string kAppPaths = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

struct Row {
  const char* szCase;
  std::u16string sCommandLine;
  std::set<std::u16string> files;
  std::set<std::u16string> folders;
  std::u16string sAppPathNative;  // App Paths\OUTLOOK.EXE, "" for none
  std::u16string sAppPath32;
  std::u16string sSearchFinds;    // what the system search finds for OUTLOOK.EXE
  std::u16string sExpected;
};

TEST(ApplicationNameTest, Table) {
  const std::u16string kMail = u"C:\\Program Files\\Mail\\client.exe";
  const std::u16string kOffice = u"C:\\Office\\OUTLOOK.EXE";
  const Row rows[] = {
      {"quoted", u"\"" + kMail + u"\" /automation", {}, {}, u"", u"", u"", kMail},
      {"quoted, no closing quote", u"\"" + kMail, {}, {}, u"", u"", u"", kMail},
      {"blanks before the quote", u"  \"" + kMail + u"\"", {}, {}, u"", u"", u"", kMail},
      {"unquoted with arguments", kMail + u" /automation", {kMail, u"C:\\Program.exe"}, {}, u"", u"", u"", kMail},
      {"unquoted without arguments", kMail, {kMail}, {}, u"", u"", u"", kMail},
      {"shortest existing prefix wins", u"C:\\A\\a.exe b.exe /x", {u"C:\\A\\a.exe b.exe", u"C:\\A\\a.exe"}, {}, u"",
       u"", u"", u"C:\\A\\a.exe"},
      {"a prefix that does not exist is passed over", u"C:\\A\\a.exe b.exe /x", {u"C:\\A\\a.exe b.exe"}, {}, u"",
       u"", u"", u"C:\\A\\a.exe b.exe"},
      {".EXE in capitals", u"C:\\MAIL\\CLIENT.EXE /automation", {u"C:\\MAIL\\CLIENT.EXE"}, {}, u"", u"", u"",
       u"C:\\MAIL\\CLIENT.EXE"},
      {"a folder named x.exe", u"C:\\Tools\\x.exe\\client.exe /a", {u"C:\\Tools\\x.exe\\client.exe"},
       {u"C:\\Tools\\x.exe"}, u"", u"", u"", u"C:\\Tools\\x.exe\\client.exe"},
      {".exe not before a blank", u"C:\\Tools\\x.exec", {u"C:\\Tools\\x.exe"}, {}, u"", u"", u"", u""},
      {"no .exe at all", u"C:\\Program Files\\Mail\\client /automation", {u"C:\\Program.exe"}, {}, u"", u"", u"",
       u""},
      {"not there: no guess at C:\\Program.exe", kMail + u" /automation", {u"C:\\Program.exe"}, {}, u"", u"", u"",
       u""},
      {"a relative prefix is never taken", u"Mail\\client.exe /a", {u"Mail\\client.exe"}, {}, u"", u"", u"", u""},
      {"bare name from App Paths", u"OUTLOOK.EXE", {kOffice}, {}, kOffice, u"", u"C:\\Windows\\OUTLOOK.EXE",
       kOffice},
      {"App Paths quoted", u"OUTLOOK.EXE", {kOffice}, {}, u"\"" + kOffice + u"\"", u"", u"", kOffice},
      {"App Paths in the 32-bit view", u"OUTLOOK.EXE /safe", {kOffice}, {}, u"", kOffice, u"", kOffice},
      {"App Paths names a missing file", u"OUTLOOK.EXE", {}, {}, kOffice, u"", u"C:\\Windows\\OUTLOOK.EXE",
       u"C:\\Windows\\OUTLOOK.EXE"},
      {"App Paths names a relative file", u"OUTLOOK.EXE", {u"OUTLOOK.EXE"}, {}, u"OUTLOOK.EXE", u"", u"", u""},
      {"bare name found by the search", u"OUTLOOK.EXE", {u"OUTLOOK.EXE"}, {}, u"", u"", u"C:\\Windows\\OUTLOOK.EXE",
       u"C:\\Windows\\OUTLOOK.EXE"},
      {"bare name without extension", u"OUTLOOK /safe", {}, {}, u"", u"", u"C:\\Windows\\OUTLOOK.EXE",
       u"C:\\Windows\\OUTLOOK.EXE"},
      {"quoted bare name", u"\"OUTLOOK.EXE\" /x", {}, {}, u"", u"", u"C:\\Windows\\OUTLOOK.EXE",
       u"C:\\Windows\\OUTLOOK.EXE"},
      {"bare name nowhere", u"OUTLOOK.EXE", {u"OUTLOOK.EXE"}, {}, u"", u"", u"", u""},
      {"empty", u"", {}, {}, u"", u"", u"", u""},
  };
  for (const Row& r : rows) {
    ScriptedFiles files;
    files.files = r.files;
    files.folders = r.folders;
    platform::MemoryRegistry reg;
    launcher_test::FakeProcesses sys;
    if (!r.sSearchFinds.empty()) sys.searchable[u"OUTLOOK.EXE"] = r.sSearchFinds;
    for (const auto& [sValue, nView] : {std::pair{r.sAppPathNative, 0u}, {r.sAppPath32, platform::kKeyWow64_32Key}}) {
      if (sValue.empty()) continue;
      platform::HKey h = 0;
      ASSERT_EQ(reg.CreateKey(platform::RootKey(platform::kRootLocalMachine), kAppPaths + u"OUTLOOK.EXE",
                              platform::kKeyAllAccess | nView, &h),
                0);
      const std::u16string data = sValue + u'\0';
      reg.SetValue(h, u"", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                   static_cast<uint32_t>(data.size() * 2));
      reg.CloseKey(h);
    }
    platform::ScopedOverride<platform::IFiles> useFiles(files);
    platform::ScopedOverride<platform::IRegistry> useReg(reg);
    launcher_test::UseFakeProcesses useSys(sys);
    EXPECT_EQ(mCreateProcess::ApplicationName(r.sCommandLine), r.sExpected) << r.szCase;
    EXPECT_EQ(reg.OpenHandleCount(), 0u) << r.szCase;
  }
}

}  // namespace
