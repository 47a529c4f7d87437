#pragma once
// Captures every report of the error log while it lives, so that tests can assert
// source, number and text of each one. Restores the previous observer at the end.
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/base/error_log.h"

using namespace twinsweep;

namespace testing_support {

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::vector<mMain::LogEntry>& Entries() const { return entries_; }
  std::vector<mMain::LogEntry> Errors() const;
  std::vector<mMain::LogEntry> Debugs() const;
  void Clear() { entries_.clear(); }
  // One line per entry, "E|source|number|text" or "D|source|0|text", then "|field"
  // for each field, in UTF-8, for readable failure messages and whole-sequence comparisons.
  std::vector<std::string> Lines() const;

 private:
  std::vector<mMain::LogEntry> entries_;
  mMain::LogObserver previous_;
};

}  // namespace testing_support
