// Peak memory of Init on a language file just under the 16 MiB bound: the
// growth of the process's peak resident set during the load, per byte of file.
// Linux only: the peak is reset through /proc/self/clear_refs before the load.
//
//   lang_peak_memory [FOLDER]     (the file is written there and removed)
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_file.h"
#include "support/lang_file.h"

using namespace twinsweep;

namespace {

long StatusKiB(const char* sField) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(sField, 0) == 0) return std::stol(line.substr(std::string(sField).size()));
  }
  return -1;
}

// One global and 300 form sub-sections, all listed, filled evenly up to just
// under the bound: every entry of the file is loaded.
size_t WriteFile(const std::string& sPath) {
  std::ofstream out(sPath, std::ios::binary);
  std::string sHead = testing_support::LangFile("EN", {"[TwinsweepLauncher]", "globals = \"texts\""},
                                                testing_support::kLangSignature, {"English"}) +
                      "forms = \"";
  const int nForms = 300;
  for (int i = 0; i < nForms; ++i) sHead += (i ? "," : "") + std::string("frm") + std::to_string(i);
  sHead += "\"\r\n";
  out << sHead;
  size_t nBytes = sHead.size(), n = 0;
  const size_t nLimit = CLangFile::kMaxFileSize - 4096;
  for (int s = 0; s <= nForms; ++s) {
    const bool bForm = s > 0;
    std::string sSection = "\r\n[TwinsweepLauncher." + (bForm ? "frm" + std::to_string(s - 1) : std::string("texts")) + "]\r\n";
    const size_t nUpTo = nLimit / (nForms + 1) * static_cast<size_t>(s + 1);
    for (int i = 0; nBytes + sSection.size() < nUpTo; ++i, ++n) {
      sSection += (bForm ? "cmdButton" + std::to_string(i) + ".Caption" : "LID_TEXT_" + std::to_string(n)) +
                  " = \"Text number " + std::to_string(n) + " of the product, with a \"\"quote\"\" and \\n\"   ; note\r\n";
    }
    out << sSection;
    nBytes += sSection.size();
  }
  return nBytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string sFolder = argc > 1 ? argv[1] : "/tmp";
  const std::string sPath = sFolder + "/peak-" + std::to_string(getpid()) + ".lng";
  const size_t nBytes = WriteFile(sPath);
  std::u16string sWinPath = base::FromUtf8(sPath);
  for (auto& c : sWinPath)
    if (c == u'/') c = u'\\';

  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from the current resident set
  const long nBefore = StatusKiB("VmRSS:");
  bool bLoaded;
  {
    CLang oLang;
    bLoaded = oLang.Init(sWinPath, u"TwinsweepLauncher");
  }
  const long nPeak = StatusKiB("VmHWM:");
  std::remove(sPath.c_str());
  if (!bLoaded || nBefore < 0 || nPeak < 0) {
    std::printf("load failed or /proc unreadable\n");
    return 1;
  }
  const double dGrowth = static_cast<double>(nPeak - nBefore) * 1024.0;
  std::printf("Init of a %.1f MiB file: peak resident growth %.1f MiB = %.2f bytes per byte of file (target <= 4)\n",
              nBytes / 1048576.0, dGrowth / 1048576.0, dGrowth / static_cast<double>(nBytes));
  return 0;
}
