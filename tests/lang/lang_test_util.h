#pragma once
// Helpers of the localization engine's tests: language files with exact bytes in
// a temporary folder (written through the platform's files, so they are real
// files in both trees), the engine's internal members made reachable, and the
// reports of the error log in a comparable form.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/base/error_log.h"
#include "support/lang_file.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "testable_lang.h"

using namespace twinsweep;

using testing_support::LogCapture;
using testing_support::TempFolder;

namespace langtest {

using ::TestableLang;

// Lines joined with CR LF, a CR LF after the last one too.
inline std::string CrLf(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

inline const std::string kBom = "\xEF\xBB\xBF";

// Writes the bytes as a file of the folder and answers its path.
inline std::u16string WriteFile(const TempFolder& folder, const std::string& sName, const std::string& sBytes) {
  return folder.Write(base::FromUtf8(sName), sBytes);
}

// A file name in the test's temporary folder.
inline std::u16string In(const TempFolder& folder, const std::string& sName) {
  return folder.File(base::FromUtf8(sName));
}

// A report as the tests compare it: kind, source, number and text in one line.
inline std::string Describe(const mMain::LogEntry& e) {
  return std::string(e.kind == mMain::LogEntry::Kind::Error ? "E " : "D ") + base::ToUtf8(e.sSource) + " " +
         std::to_string(e.nNumber) + " " + base::ToUtf8(e.sText);
}

inline std::vector<std::string> Reports(const LogCapture& log, bool bWithDebug = false) {
  std::vector<std::string> out;
  for (const auto& e : log.Entries()) {
    if (bWithDebug || e.kind == mMain::LogEntry::Kind::Error) out.push_back(Describe(e));
  }
  return out;
}

using testing_support::LangFile;

}  // namespace langtest
