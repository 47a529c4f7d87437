#include "launcher/diagnostic_log.h"

#include <cstdio>

#include "base/convert.h"
#include "base/text.h"
#include "platform/diagnostics.h"

namespace mMain {
namespace {

bool bLogFileEnabled = false;

// One entry is one line: its own line ends are shown, not made.
std::u16string OnOneLine(const std::u16string& sText) {
  std::u16string s;
  s.reserve(sText.size());
  for (size_t i = 0; i < sText.size(); ++i) {
    const char16_t c = sText[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < sText.size() && sText[i + 1] == u'\n') ++i;
      s += u"\\n";
    } else {
      s += c;
    }
  }
  return s;
}

void AppendToLogFile(const LogEntry& entry) {
  platform::IDiagnostics& sys = platform::Diagnostics();
  const std::u16string sPath = LogFilePath();
  if (sPath.empty()) return;
  const std::string sLine = FormatLogLine(sys.LocalTime(), sys.ProcessId(), entry);
  const int64_t nSize = sys.FileSize(sPath);
  if (nSize > 0 && nSize + static_cast<int64_t>(sLine.size()) > kLogFileCap) sys.ReplaceFile(sPath, sPath + u".1");
  if (sys.AppendToFile(sPath, sLine)) return;
  // The first entry of a user: the folders are made then.
  if (sys.CreateFolders(sPath.substr(0, sPath.find_last_of(u'\\')))) sys.AppendToFile(sPath, sLine);
}

}  // namespace

void SetLogFileEnabled(bool bEnabled) { bLogFileEnabled = bEnabled; }

bool LogFileEnabled() { return bLogFileEnabled; }

std::u16string LogFilePath() {
  const std::u16string sFolder = platform::Diagnostics().LocalAppDataFolder();
  if (sFolder.empty()) return u"";
  return sFolder + u"\\Orvex\\Twinsweep\\TwinsweepLauncher.log";
}

std::string FormatLogLine(const platform::SystemTime& t, uint32_t nProcessId, const LogEntry& entry) {
  char szTime[40];
  std::snprintf(szTime, sizeof szTime, "%04d-%02d-%02d %02d:%02d:%02d.%03d\t%u\t", t.nYear, t.nMonth, t.nDay, t.nHour,
                t.nMinute, t.nSecond, t.nMilliseconds, nProcessId);
  return szTime +
         base::ToUtf8(OnOneLine(entry.sSource) + u"\t" + base::LongToText(entry.nNumber) + u"\t" +
                      OnOneLine(entry.sText)) +
         "\r\n";
}

void WriteLogEntry(const LogEntry& entry) noexcept {
  try {
    platform::Diagnostics().DebugOutput(u"TwinsweepLauncher: " + entry.sSource + u" " +
                                        base::LongToText(entry.nNumber) + u": " + entry.sText + u"\n");
  } catch (...) {
  }
  if (!bLogFileEnabled) return;
  try {
    AppendToLogFile(entry);
  } catch (...) {
  }
}

}  // namespace mMain
