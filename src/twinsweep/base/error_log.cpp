#include "twinsweep/base/error_log.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"

namespace twinsweep {

namespace mMain {
namespace {
LogObserver& Observer() {
  static LogObserver observer;
  return observer;
}

LogSink& Sink() {
  static LogSink sink;
  return sink;
}

// The log must never fail its caller: an observer's or a sink's own fault is swallowed.
void Call(const std::function<void(const LogEntry&)>& target, const LogEntry& entry) {
  if (!target) return;
  try {
    target(entry);
  } catch (...) {}
}

void Notify(const LogEntry& entry) {
  Call(Observer(), entry);
  Call(Sink(), entry);
}
}  // namespace

LogObserver SetLogObserver(LogObserver observer) {
  LogObserver previous = std::move(Observer());
  Observer() = std::move(observer);
  return previous;
}

LogSink SetLogSink(LogSink sink) {
  LogSink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

void LogError(const std::u16string& sSource, int32_t nNumber, const std::optional<std::u16string>& vDescription,
              const std::optional<std::u16string>& vExtra, std::vector<std::u16string> fields) {
  // Every read of the pending error happens before it is cleared.
  const base::PendingError& pending = base::Pending();
  LogEntry entry;
  entry.kind = LogEntry::Kind::Error;
  entry.nNumber = nNumber == -1 ? pending.nNumber : nNumber;
  entry.sText = vDescription ? *vDescription : pending.sDescription;
  if (vExtra) entry.sText += u"; " + *vExtra;
  entry.sSource = pending.nLine != 0 ? sSource + u"(" + base::LongToText(pending.nLine) + u")" : sSource;
  entry.fields = std::move(fields);
  Notify(entry);
  base::ClearPending();
}

void AssertTrue(bool bCondition, const std::u16string& sSource, const std::u16string& sMessage) {
  if (bCondition) return;
  LogError(sSource, 0, u"ASSERT FAILED - " + sMessage);
}

void LogDebug(const std::u16string& sSource, const std::u16string& sText) {
  const LogEntry entry{LogEntry::Kind::Debug, sSource, 0, sText};
  Notify(entry);
}

}  // namespace mMain

}  // namespace twinsweep
