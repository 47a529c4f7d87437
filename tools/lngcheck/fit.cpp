#include "fit.h"

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/platform/files.h"
#include "checks.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// The text between sBefore and the next sAfter in sText, from nFrom on (advanced past it).
std::optional<std::u16string> Between(const std::u16string& sText, const char16_t* sBefore, const char16_t* sAfter,
                                      size_t* pnFrom) {
  const size_t nBegin = sText.find(sBefore, *pnFrom);
  if (nBegin == std::u16string::npos) return std::nullopt;
  const size_t nText = nBegin + std::char_traits<char16_t>::length(sBefore);
  const size_t nEnd = sText.find(sAfter, nText);
  if (nEnd == std::u16string::npos) return std::nullopt;
  *pnFrom = nEnd;
  return sText.substr(nText, nEnd - nText);
}

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
    const std::vector<std::u16string> fields = base::Split(line.sText, u"\t");
    if (fields.size() < 3) continue;
    const std::u16string& sText = fields[2];
    std::pair<int, int> place{1, 1};
    size_t nFrom = 0;
    const auto sControl = Between(sText, u"control '", u"'", &nFrom);
    const auto sForm = Between(sText, u"form '", u"'", &nFrom);
    if (sForm)
      place = ReportPlace(layout, o.sMainSection, *sForm, fields[0] == kFitReportSource && sControl ? *sControl : u"");
    findings.Add({sName, place.first, place.second, Severity::Error, base::ToUtf8(sText),
                  fields[0] == kFitReportSource ? "fit" : base::ToUtf8(fields[0])});
  }
  *psOut += o.bJson ? FormatJson(findings.Sorted()) : FormatText(findings.Sorted());
  const int nErrors = findings.Count(Severity::Error);
  *psErr += sName + ": " + std::to_string(nErrors) + " error(s) of fit at " + std::to_string(o.nMarginPercent) +
            " % margin\n";
  return nErrors ? 1 : 0;
}

}  // namespace lngcheck
