#include "support/log_capture.h"

namespace testing_support {

LogCapture::LogCapture() {
  previous_ = mMain::SetLogObserver([this](const mMain::LogEntry& e) { entries_.push_back(e); });
}

LogCapture::~LogCapture() { mMain::SetLogObserver(std::move(previous_)); }

std::vector<mMain::LogEntry> LogCapture::Errors() const {
  std::vector<mMain::LogEntry> r;
  for (const auto& e : entries_)
    if (e.kind == mMain::LogEntry::Kind::Error) r.push_back(e);
  return r;
}

std::vector<mMain::LogEntry> LogCapture::Debugs() const {
  std::vector<mMain::LogEntry> r;
  for (const auto& e : entries_)
    if (e.kind == mMain::LogEntry::Kind::Debug) r.push_back(e);
  return r;
}

std::vector<std::string> LogCapture::Lines() const {
  std::vector<std::string> r;
  for (const auto& e : entries_) {
    r.push_back(std::string(e.kind == mMain::LogEntry::Kind::Error ? "E|" : "D|") + base::ToUtf8(e.sSource) + "|" +
                std::to_string(e.nNumber) + "|" + base::ToUtf8(e.sText));
    for (const std::u16string& s : e.fields) r.back() += "|" + base::ToUtf8(s);
  }
  return r;
}

}  // namespace testing_support
