// The engine's test consumer: loads the language beside the program with the
// default options source, looks up texts with and without placeholders, and
// counts the error log's entries through a sink of its own. It has a base/text.h
// and a namespace base of its own, and in the Windows build uses the system's
// macros (MessageBox, DeleteFile, ...) after the engine's window framework
// header. Prints what it got and ends with 0 only when every text was as expected.
#include <cstdio>
#include <string>

#include "base/text.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/lang.h"
#include "consumer_macros.h"

using base::Narrow;
using twinsweep::CLang;
namespace mMain = twinsweep::mMain;

int main() {
  int nErrors = 0;
  mMain::SetLogSink([&](const mMain::LogEntry& e) {
    if (e.kind == mMain::LogEntry::Kind::Error) ++nErrors;
    std::printf("log: %s %d: %s\n", Narrow(e.sSource).c_str(), e.nNumber, Narrow(e.sText).c_str());
  });

  CLang oLang;
  const bool bLoaded = oLang.InitEx(u"Consumer");
  std::printf("loaded: %s, langid %s\n", bLoaded ? "yes" : "no", Narrow(oLang.LangID()).c_str());

  struct Check {
    std::u16string sGot, sExpected;
  } checks[] = {
      {oLang.Item(u"LID_GREETING"), u"Hello from the engine"},
      {oLang.Item(u"lid_copied", {twinsweep::base::Variant(3), twinsweep::base::Variant(u"C:\\Temp")}),
       u"3 files copied to C:\\Temp (100%)"},
      {oLang.Item(u"LID_TWO_LINES"), u"first\r\nsecond"},
  };
  int nWrong = 0;
  for (const Check& c : checks) {
    const bool bOk = c.sGot == c.sExpected;
    if (!bOk) ++nWrong;
    std::printf("%s: %s\n", bOk ? "ok" : "WRONG", Narrow(c.sGot).c_str());
  }
  // A missing key answers the key and reaches the sink as one error.
  const int nBefore = nErrors;
  const bool bMissingOk = oLang.Item(u"LID_NONE") == u"LID_NONE" && nErrors == nBefore + 1;
  std::printf("%s: a missing key is reported once and answered with the key\n", bMissingOk ? "ok" : "WRONG");

  const base::Variant sOwn = "own";  // the consumer's base::Variant beside the engine's
  const bool bMacrosOk = WindowsMacrosKept();
  std::printf("%s: the consumer's own base::Variant and base/text.h, and the system's macros\n",
              bMacrosOk && sOwn == "own" ? "ok" : "WRONG");

  const bool bPassed = bLoaded && oLang.LangID() == u"EN" && nWrong == 0 && bMissingOk && nErrors == 1 && bMacrosOk;
  std::printf("%s\n", bPassed ? "consumer passed" : "consumer FAILED");
  return bPassed ? 0 : 1;
}
