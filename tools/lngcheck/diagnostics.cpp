#include "diagnostics.h"

#include <algorithm>
#include <cstdio>

namespace lngcheck {

void Findings::Add(Diagnostic d) {
  const std::string sKey =
      std::to_string(d.nLine) + ":" + std::to_string(d.nColumn) + "[" + d.sCheck + "]" + d.sMessage;
  if (!seen_.insert(sKey).second) return;
  list_.push_back(std::move(d));
}

std::vector<Diagnostic> Findings::Sorted() const {
  std::vector<Diagnostic> r = list_;
  std::stable_sort(r.begin(), r.end(), [](const Diagnostic& a, const Diagnostic& b) {
    return a.nLine != b.nLine ? a.nLine < b.nLine : a.nColumn < b.nColumn;
  });
  return r;
}

int Findings::Count(Severity severity) const {
  return static_cast<int>(
      std::count_if(list_.begin(), list_.end(), [&](const Diagnostic& d) { return d.severity == severity; }));
}

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
  }
  return "error";
}

namespace {

// A message on one line: the engine quotes file text, which may hold a lone CR or LF.
std::string OneLine(const std::string& s) {
  std::string r;
  for (unsigned char c : s) {
    if (c == '\n') {
      r += "\\n";
    } else if (c == '\r') {
      r += "\\r";
    } else if (c < 0x20 && c != '\t') {
      r += '?';
    } else {
      r += static_cast<char>(c);
    }
  }
  return r;
}

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      r += buf;
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

}  // namespace

std::string FormatText(const std::vector<Diagnostic>& findings) {
  std::string s;
  for (const Diagnostic& d : findings) {
    s += d.sFile + ":" + std::to_string(d.nLine) + ":" + std::to_string(d.nColumn) + ": " + SeverityName(d.severity) +
         ": " + OneLine(d.sMessage) + " [" + d.sCheck + "]\n";
  }
  return s;
}

std::string FormatJson(const std::vector<Diagnostic>& findings) {
  std::string s = "[";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Diagnostic& d = findings[i];
    s += i ? ",\n  " : "\n  ";
    s += "{\"file\": " + JsonString(d.sFile) + ", \"line\": " + std::to_string(d.nLine) +
         ", \"column\": " + std::to_string(d.nColumn) + ", \"severity\": \"" + SeverityName(d.severity) +
         "\", \"message\": " + JsonString(d.sMessage) + ", \"check\": " + JsonString(d.sCheck) + "}";
  }
  return s + (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace lngcheck
