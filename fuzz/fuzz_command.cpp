// The launcher's whole run with any argument text, any stored LANG and LANG_
// values (of any type, in the user's and the machine's scope), Outlook and the
// add-in running or not, and any answer to the question. The run must end with
// no failure pending, no handle open, at most one thing opened by the shell and
// at most one error box; the purchase and help branches open only the product's
// own addresses or files.
#include <dirent.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "fuzz_input.h"
#include "launcher/launcher_doubles.h"
#include "twinsweep/launcher/main.h"
#include "twinsweep/launcher/outlook_probe.h"
#include "memory_files.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "support/fake_desktop.h"

using namespace twinsweep;

namespace {

constexpr char16_t kAppFolder[] = u"C:\\Program Files\\Twinsweep";

// The shipped language files, read once from the source tree.
const std::vector<std::pair<std::u16string, std::string>>& ShippedLanguages() {
  static const auto files = [] {
    std::vector<std::pair<std::u16string, std::string>> out;
    const std::string sFolder = std::string(TWINSWEEP_SOURCE_DIR) + "/languages";
    if (DIR* d = opendir(sFolder.c_str())) {
      while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".lng") continue;
        std::ifstream f(sFolder + "/" + name, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        out.emplace_back(base::FromUtf8(name), ss.str());
      }
      closedir(d);
    }
    return out;
  }();
  return files;
}

void StoreOption(fuzz_support::FuzzInput& in, platform::MemoryRegistry& registry, int32_t nRoot,
                 const char16_t* sName) {
  const uint8_t nHow = in.Byte();
  if (nHow % 3 == 0) return;  // no value
  platform::HKey h = 0;
  registry.CreateKey(platform::RootKey(nRoot), u"Software\\Orvex\\Twinsweep", platform::kKeyAllAccess, &h);
  const std::string bytes = in.Bytes(64);
  if (nHow % 3 == 1) {  // a string value with its terminator
    std::string s = bytes;
    if (s.size() % 2) s.pop_back();
    s += std::string(2, '\0');
    registry.SetValue(h, sName, platform::kRegSz, reinterpret_cast<const uint8_t*>(s.data()),
                      static_cast<uint32_t>(s.size()));
  } else {  // any type, any bytes; the system may read one character past a string's count
    const std::string room = bytes + std::string(2, '\0');
    registry.SetValue(h, sName, nHow >> 4, reinterpret_cast<const uint8_t*>(room.data()),
                      static_cast<uint32_t>(bytes.size()));
  }
  registry.CloseKey(h);
}

bool StartsWith(const std::u16string& s, const std::u16string& sPrefix) { return s.compare(0, sPrefix.size(), sPrefix) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::FuzzInput in(data, size);
  static fuzz_support::MemoryFiles files;
  files.Clear();
  files.MakeDirectory(kAppFolder);
  for (const auto& f : ShippedLanguages()) files.Put(std::u16string(kAppFolder) + u"\\" + f.first, f.second);
  platform::MemoryRegistry registry;
  testing_support::FakeApp app;
  testing_support::RecordingShell shell;
  testing_support::ScriptedDialogs dialogs;
  launcher_test::FakeProcesses processes;
  platform::ScopedOverride<platform::IFiles> useFiles(files);
  platform::ScopedOverride<platform::IRegistry> useRegistry(registry);
  testing_support::ScopedOverrides<platform::IApp, platform::IProgramStart> useApp(app);
  platform::ScopedOverride<platform::IShell> useShell(shell);
  platform::ScopedOverride<platform::IDialogs> useDialogs(dialogs);
  launcher_test::UseFakeProcesses useProcesses(processes);

  const uint8_t nSetup = in.Byte();
  dialogs.nAnswer = nSetup & 1 ? platform::kIdYes : platform::kIdNo;
  // Outlook ends a minute later on the virtual clock, so that a wait for an add-in
  // that never comes ends too.
  if (nSetup & 2) processes.mutexes[mMain::kOutlookMutex] = launcher_test::Presence{0, processes.nNow + 60000};
  if (nSetup & 4) processes.mutexes[mMain::kAddinMutex] = launcher_test::Presence{0, launcher_test::kNever};
  if (nSetup & 8) files.Put(std::u16string(kAppFolder) + u"\\Twinsweep.chm", "help");
  StoreOption(in, registry, platform::kRootCurrentUser, u"LANG");
  StoreOption(in, registry, platform::kRootLocalMachine, u"LANG");
  StoreOption(in, registry, platform::kRootCurrentUser, u"LANG_");
  app.sAppFolder = kAppFolder;
  app.sCommandLineArgs = in.RestAsText();

  mMain::Main();

  if (base::HasPending() || registry.OpenHandleCount() != 0 || files.OpenHandles() != 0 ||
      processes.nOpenHandles != 0)
    __builtin_trap();
  if (shell.opened.size() > 1) __builtin_trap();
  int nErrorBoxes = 0;
  for (const auto& box : dialogs.shown) nErrorBoxes += StartsWith(box.sText, u"Error(");
  if (nErrorBoxes > 1) __builtin_trap();
  for (const auto& target : shell.opened) {
    if (!StartsWith(target, u"" TWINSWEEP_WEB_SCHEME_TEXT "://" TWINSWEEP_MAKER_HOST_TEXT "/purchase_twinsweep.asp?lang=") &&
        !StartsWith(target, u"" TWINSWEEP_WEB_SCHEME_TEXT "://" TWINSWEEP_PRODUCT_HOST_TEXT "/") &&
        !StartsWith(target, std::u16string(kAppFolder) + u"\\"))
      __builtin_trap();
  }
  return 0;
}
