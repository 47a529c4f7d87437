#pragma once
// The program's common reporting points: LogError, AssertTrue, LogDebug.
//
// Each composed entry goes to the program's sink, which the program sets once
// (the launcher's writes the debugger's output channel and its log file); with no
// sink set, entries go nowhere. Nothing is shown, and a sink's own fault is
// dropped. What callers rely on is the effect on the pending error: after
// LogError (and a failed AssertTrue) none is pending. One observer may watch
// every composed entry besides; tests use it to assert reports, the translators'
// tool to print them. Both are set at a program's start (or in a test), not while
// other threads may log.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twinsweep {

namespace mMain {

/// One composed entry of the error log, as a sink or the observer receives it.
struct LogEntry {
  /// An error (LogError, a failed AssertTrue) or a debug note (LogDebug).
  enum class Kind { Error, Debug };
  Kind kind = Kind::Error;  ///< what reported it
  std::u16string sSource;   ///< the reporting member, "CLang.Init"
  int32_t nNumber = 0;      ///< the failure's number; 0 for a condition found by the reporter
  std::u16string sText;     ///< the description, with any extra text after "; "
  /// What the report is about, for a program that reads the log: each reporter
  /// defines its fields and their order (CLang's reports about a form: lang/lang.h).
  /// The text is for people, and may be reworded; the fields are not. (The
  /// initializer lets an entry written without fields leave them out.)
  std::vector<std::u16string> fields{};
};

/// A watcher of every composed entry.
using LogObserver = std::function<void(const LogEntry&)>;
/// Installs the observer and answers the one it replaces.
LogObserver SetLogObserver(LogObserver observer);
/// Installs the program's destination of the entries and answers the one it replaces.
using LogSink = std::function<void(const LogEntry&)>;
LogSink SetLogSink(LogSink sink);

/// nNumber -1 stands for the pending error's number; an omitted vDescription for its
/// description. vExtra is appended after "; ". fields go to the entry as they are.
/// Clears the pending error.
void LogError(const std::u16string& sSource, int32_t nNumber,
              const std::optional<std::u16string>& vDescription = std::nullopt,
              const std::optional<std::u16string>& vExtra = std::nullopt, std::vector<std::u16string> fields = {});
/// A false condition is reported as "ASSERT FAILED - " & sMessage with number 0.
void AssertTrue(bool bCondition, const std::u16string& sSource, const std::u16string& sMessage);
void LogDebug(const std::u16string& sSource, const std::u16string& sText);

}  // namespace mMain

}  // namespace twinsweep
