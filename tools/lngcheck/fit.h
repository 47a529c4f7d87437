#pragma once
// lngcheck --fit: a translation's texts checked against the real forms of a
// program that carries the engine, in their real fonts. The program (by default
// the options dialog example) is run with
//   --localize-all-forms --check-fit=MARGIN --log LOG FILE.lng
// (under Wine where the system is not Windows); every report of its error log
// becomes a finding, placed by the report's fields (lang_syntax.h): a text that
// does not fit at the key that holds it, any other report about a form (a control
// the form lacks) at the form's section.
#include <optional>
#include <string>
#include <vector>

namespace lngcheck {

struct FitOptions {
  std::u16string sFile;
  std::u16string sMainSection;
  std::optional<std::u16string> sProgram;  // the program to run; else the example found beside lngcheck
  int nMarginPercent = 5;                  // spare room asked of each text
  bool bJson = false;                      // the findings as one JSON array
};

// Findings on *psOut, the count on *psErr. 0 clean, 1 a text that does not fit
// (or another report), 2 a file or program that cannot be read or run.
int Fit(const FitOptions& o, std::string* psOut, std::string* psErr);

// The system's side (fit_run.cpp).
// The example program beside lngcheck's own executable, or in the build tree's
// examples folder (two folders up); empty when there is none.
std::u16string DefaultFormsProgram();
// A path of this system as the program sees it (a Wine drive path outside Windows).
std::u16string PathForProgram(const std::u16string& sPath);
// A fresh path for the program's log, in the temporary folder.
std::u16string TemporaryLogPath();
// Runs sProgram with args and waits (at most a minute) for it to end; false with
// *psWhy when it cannot be started or does not end.
bool RunFormsProgram(const std::u16string& sProgram, const std::vector<std::u16string>& args, std::string* psWhy);

}  // namespace lngcheck
