// lngcheck: loads a language file as the launcher would and prints every report
// of the engine (syntax errors with their line numbers, missing sections, bad
// version data), so that a translator sees what the program would silently skip.
//
//   lngcheck FILE.lng [MAIN_SECTION]      (the main section defaults to TwinsweepLauncher)
//
// Exit status: 0 when the file loads without any error report, 1 when it loads
// with reports, 2 when it does not load.
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "lang/lang.h"
#include "base/error_log.h"

namespace {

int Check(const std::u16string& sFile, const std::u16string& sMainSection) {
  int nErrors = 0;
  mMain::SetLogObserver([&](const mMain::LogEntry& e) {
    bool bError = e.kind == mMain::LogEntry::Kind::Error;
    nErrors += bError ? 1 : 0;
    std::printf("%s %s (%d): %s\n", bError ? "error" : "note ", base::ToUtf8(e.sSource).c_str(), e.nNumber,
                base::ToUtf8(e.sText).c_str());
  });
  CLang oLang;
  bool bLoaded = oLang.Init(sFile, sMainSection);
  mMain::SetLogObserver(nullptr);
  if (!bLoaded) {
    std::printf("%s: does not load\n", base::ToUtf8(sFile).c_str());
    return 2;
  }
  std::printf("%s: %s (%s), %d report(s)\n", base::ToUtf8(sFile).c_str(), base::ToUtf8(oLang.LangName()).c_str(),
              base::ToUtf8(oLang.LangID()).c_str(), nErrors);
  return nErrors ? 1 : 0;
}

int Run(const std::vector<std::u16string>& args) {
  if (args.size() < 2 || args.size() > 3) {
    std::fprintf(stderr, "usage: lngcheck FILE.lng [MAIN_SECTION]\n");
    return 2;
  }
  return Check(args[1], args.size() == 3 ? args[2] : u"TwinsweepLauncher");
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.push_back(base::FromUtf8(argv[i]));
  return Run(args);
}
#endif
