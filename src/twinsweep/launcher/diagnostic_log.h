#pragma once
// The destinations of the error log's entries and debug notes.
//
// Every entry goes to the debugger's output channel. When the log file is switched
// on (the DiagnosticLog option), it is also appended to
// %LOCALAPPDATA%\Orvex\Twinsweep\TwinsweepLauncher.log, one line each:
//   local time to the millisecond <TAB> process id <TAB> source <TAB> number <TAB> text
// in UTF-8 with CR LF. Source and text are escaped (EscapeLogField), so that no
// value, whoever wrote it, can add a column or a line. The file is kept below
// 1 MiB: the line that would pass the cap first moves the file to
// TwinsweepLauncher.log.1 (replacing the one there), so one previous file is
// kept; when that move fails the file is emptied instead, and when that fails too
// the entry is dropped. After a write that stopped inside a line, the next entry
// starts on a line of its own.
//
// Writing never fails its caller and never touches the pending error: whatever
// cannot be written is dropped.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/files.h"

namespace twinsweep {

namespace mMain {

constexpr int64_t kLogFileCap = 1024 * 1024;
// The most characters of an entry's source and text that either destination
// gets; the rest is left out and counted, so that no entry (a parser's report of
// a huge line, say) can fill the file or pass its cap.
constexpr size_t kLogFieldCap = 8192;

void SetLogFileEnabled(bool bEnabled);
bool LogFileEnabled();
// The log file's path; empty when the user has no local application data folder.
std::u16string LogFilePath();
// A field as the log file writes it: backslash, tab, CR and LF as \\, \t, \r and
// \n, the other control characters as \xNN, and the line separators U+0085,
// U+2028 and U+2029 as \uNNNN.
std::u16string EscapeLogField(std::u16string_view sText);
// sText as an entry's field: at most kLogFieldCap characters (never half of a
// surrogate pair), then "\u2026 (N more characters)" when some were left out.
std::u16string BoundedLogField(std::u16string_view sText);
// One line of the log file, CR LF included; source and text bounded, then escaped.
std::string FormatLogLine(const platform::SystemTime& time, uint32_t nProcessId, const LogEntry& entry);
// Sends the entry to every destination that is switched on.
void WriteLogEntry(const LogEntry& entry) noexcept;

}  // namespace mMain

}  // namespace twinsweep
