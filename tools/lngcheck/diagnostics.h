#pragma once
// The findings of one run and their two printed forms: the GCC form
// "FILE:LINE:COLUMN: severity: message [check]" that editors, CI annotators and
// grep read, and one JSON array of the same findings.
//
// Findings owns the list: it drops a finding that repeats one already held (the
// engine reads a file once per section and so meets a broken header several
// times) and answers them sorted by position, as an editor walks a file.
#include <string>
#include <unordered_set>
#include <vector>

namespace lngcheck {

enum class Severity { Error, Warning, Note };

struct Diagnostic {
  std::string sFile;  // as the user named it, UTF-8
  int nLine = 1;      // from 1, every line of the file counted
  int nColumn = 1;    // from 1, in characters
  Severity severity = Severity::Error;
  std::string sMessage;  // UTF-8
  std::string sCheck;    // the check's name, or the engine's report source
};

class Findings {
 public:
  void Add(Diagnostic d);
  // In order of line and column; findings of one position keep their order.
  std::vector<Diagnostic> Sorted() const;
  int Count(Severity severity) const;

 private:
  std::vector<Diagnostic> list_;
  std::unordered_set<std::string> seen_;  // position, check and message of each
};

const char* SeverityName(Severity severity);
std::string FormatText(const std::vector<Diagnostic>& findings);
std::string FormatJson(const std::vector<Diagnostic>& findings);

}  // namespace lngcheck
