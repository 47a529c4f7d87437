#include "twinsweep/launcher/diagnostic_log.h"

#include <cstdio>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/diagnostics.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/this_process.h"

namespace twinsweep {

namespace mMain {
namespace {

bool bLogFileEnabled = false;

// A write that stopped inside a line (a full disk) left the file without a line
// end; the next entry of this process starts with one.
bool bLineLeftOpen = false;

// The file's size in bytes; -1 when it does not exist or cannot be asked.
int64_t FileSize(platform::IFiles& files, const std::u16string& sPath) {
  uint64_t nSize = 0;
  return files.GetSizeByPath(sPath, &nSize) == platform::kErrorSuccess ? static_cast<int64_t>(nSize) : -1;
}

// False when nothing of the line was written.
bool AppendLine(platform::IFiles& files, const std::u16string& sPath, int64_t nSizeBefore, const std::string& sLine) {
  if (files.AppendToFile(sPath, bLineLeftOpen ? "\r\n" + sLine : sLine) == platform::kErrorSuccess) {
    bLineLeftOpen = false;
    return true;
  }
  if (FileSize(files, sPath) <= (nSizeBefore < 0 ? 0 : nSizeBefore)) return false;
  bLineLeftOpen = true;
  return true;
}

void AppendToLogFile(const LogEntry& entry) {
  platform::IFiles& files = platform::Files();
  const std::u16string sPath = LogFilePath();
  if (sPath.empty()) return;
  const std::string sLine =
      FormatLogLine(platform::Diagnostics().LocalTime(), platform::ThisProcess().ProcessId(), entry);
  int64_t nSize = FileSize(files, sPath);
  // Room for the line end that a partial write may have left owing, too.
  const int64_t nAdded = static_cast<int64_t>(sLine.size()) + (bLineLeftOpen ? 2 : 0);
  if (nSize > 0 && nSize + nAdded > kLogFileCap) {
    // The previous file may be held open by a viewer, or be a folder: then this
    // one is emptied instead, and when even that fails the entry is dropped, so
    // that the file never grows past the cap.
    if (files.MoveReplacing(sPath, sPath + u".1") == platform::kErrorSuccess) {
      nSize = -1;
    } else if (files.EmptyFile(sPath) == platform::kErrorSuccess) {
      nSize = 0;
    } else {
      return;
    }
    bLineLeftOpen = false;
  }
  if (AppendLine(files, sPath, nSize, sLine) || nSize >= 0) return;
  // The first entry of a user: the folders are made then.
  if (files.CreateFolders(sPath.substr(0, sPath.find_last_of(u'\\'))) == platform::kErrorSuccess)
    AppendLine(files, sPath, nSize, sLine);
}

}  // namespace

std::u16string EscapeLogField(std::u16string_view sText) {
  static const char16_t kHex[] = u"0123456789abcdef";
  std::u16string s;
  s.reserve(sText.size());
  for (const char16_t c : sText) {
    switch (c) {
      case u'\\': s += u"\\\\"; break;
      case u'\t': s += u"\\t"; break;
      case u'\r': s += u"\\r"; break;
      case u'\n': s += u"\\n"; break;
      default:
        if (c < 0x20) {
          s += u"\\x";
          s += kHex[c >> 4];
          s += kHex[c & 0xf];
        } else if (c == 0x85 || c == 0x2028 || c == 0x2029) {
          s += u"\\u";
          for (int nShift = 12; nShift >= 0; nShift -= 4) s += kHex[(c >> nShift) & 0xf];
        } else {
          s += c;
        }
    }
  }
  return s;
}

std::u16string BoundedLogField(std::u16string_view sText) {
  if (sText.size() <= kLogFieldCap) return std::u16string(sText);
  size_t nKept = kLogFieldCap;
  if (sText[nKept - 1] >= 0xD800 && sText[nKept - 1] <= 0xDBFF) --nKept;
  return std::u16string(sText.substr(0, nKept)) + u"\u2026 (" +
         base::LongToText(static_cast<int64_t>(sText.size() - nKept)) + u" more characters)";
}

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
         base::ToUtf8(EscapeLogField(BoundedLogField(entry.sSource)) + u"\t" + base::LongToText(entry.nNumber) + u"\t" +
                      EscapeLogField(BoundedLogField(entry.sText))) +
         "\r\n";
}

void WriteLogEntry(const LogEntry& entry) noexcept {
  try {
    platform::Diagnostics().DebugOutput(u"TwinsweepLauncher: " + BoundedLogField(entry.sSource) + u" " +
                                        base::LongToText(entry.nNumber) + u": " + BoundedLogField(entry.sText) + u"\n");
  } catch (...) {}
  if (!bLogFileEnabled) return;
  try {
    AppendToLogFile(entry);
  } catch (...) {}
}

}  // namespace mMain

}  // namespace twinsweep
