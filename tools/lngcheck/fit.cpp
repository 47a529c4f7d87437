#include "fit.h"

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/platform/files.h"
#include "checks.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// The section of form sForm: under the main section, else any "<main>.<form>".
const LayoutSection* FormSection(const Layout& layout, const std::u16string& sMain, const std::u16string& sForm) {
  if (const LayoutSection* s = layout.Find(sMain + u"." + sForm)) return s;
  const std::u16string sTail = base::LCase(u"." + sForm);
  for (const LayoutSection& s : layout.Sections()) {
    const std::u16string sName = base::LCase(s.sName);
    if (sName.size() > sTail.size() && sName.compare(sName.size() - sTail.size(), sTail.size(), sTail) == 0) return &s;
  }
  return nullptr;
}

// Where a report about sControl of sForm belongs: the key of its caption (the
// form's own ".Caption" when sControl is the form), else the form's header, else line 1.
std::pair<int, int> ReportPlace(const Layout& layout, const std::u16string& sMain, const std::u16string& sForm,
                                const std::u16string& sControl) {
  const LayoutSection* section = FormSection(layout, sMain, sForm);
  if (!section) return {1, 1};
  if (sControl.empty()) return {section->nLine, 1};
  const LayoutEntry* entry = nullptr;
  if (base::EqualsNoCase(sControl, sForm)) entry = section->Find(u".caption");
  if (!entry) entry = section->Find(sControl);
  if (!entry) entry = section->Find(sControl + u".caption");
  return entry ? std::pair<int, int>{entry->nLine, entry->nValueColumn} : std::pair<int, int>{section->nLine, 1};
}

}  // namespace

int Fit(const FitOptions& o, std::string* psOut, std::string* psErr) {
  SourceFile source;
  if (!source.Read(o.sFile)) {
    *psErr += "lngcheck: cannot read " + base::ToUtf8(o.sFile) + "\n";
    return 2;
  }
  const Layout layout(source);
  const std::u16string sProgram = o.sProgram ? *o.sProgram : DefaultFormsProgram();
  if (sProgram.empty()) {
    *psErr +=
        "lngcheck: no program to localize the forms with; name one with --program PROGRAM.exe "
        "(a program that takes --localize-all-forms, such as the options dialog example)\n";
    return 2;
  }
  const std::u16string sLog = TemporaryLogPath();
  (void)platform::Files().RemoveFile(sLog);
  std::string sWhy;
  const bool bRan =
      RunFormsProgram(sProgram,
                      {u"--localize-all-forms", u"--check-fit=" + base::FromUtf8(std::to_string(o.nMarginPercent)),
                       u"--log", PathForProgram(sLog), PathForProgram(o.sFile)},
                      &sWhy);
  SourceFile log;
  // The program makes its log when it starts: no log, no run.
  const bool bLog = bRan && log.Read(sLog);
  (void)platform::Files().RemoveFile(sLog);
  if (!bLog) {
    *psErr += "lngcheck: " + (bRan ? base::ToUtf8(sProgram) + " wrote no log" : sWhy) + "\n";
    return 2;
  }

  Findings findings;
  const std::string sName = base::ToUtf8(o.sFile);
  for (const SourceLine& line : log.Lines()) {
    // Source, number and text, then the report's fields (lang_syntax.h).
    const std::vector<std::u16string> columns = base::Split(line.sText, u"\t");
    if (columns.size() < 3) continue;
    const bool bFit = columns[0] == kFitReportSource;
    const auto Field = [&](size_t n) { return 3 + n < columns.size() ? columns[3 + n] : std::u16string(); };
    // The log of an older engine has no fields: its reports stand at line 1.
    const std::pair<int, int> place =
        columns.size() > 3 + kReportForm
            ? ReportPlace(layout, o.sMainSection, Field(kReportForm), bFit ? Field(kReportControl) : u"")
            : std::pair<int, int>{1, 1};
    findings.Add({sName, place.first, place.second, Severity::Error, base::ToUtf8(columns[2]),
                  bFit ? "fit" : base::ToUtf8(columns[0])});
  }
  *psOut += o.bJson ? FormatJson(findings.Sorted()) : FormatText(findings.Sorted());
  const int nErrors = findings.Count(Severity::Error);
  *psErr += sName + ": " + std::to_string(nErrors) + " error(s) of fit at " + std::to_string(o.nMarginPercent) +
            " % margin\n";
  return nErrors ? 1 : 0;
}

}  // namespace lngcheck
