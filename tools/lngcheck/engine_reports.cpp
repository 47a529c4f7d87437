// The engine's reports of a load, each with its own text, at the line it concerns.
// The parser's reports name their line ("line = 12", "line - 12", "in a line 12");
// the loader's name a section or a list, whose line the layout knows.
#include "twinsweep/base/text.h"
#include "checks.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// The number after the first of the parser's line markers in sText, or 0.
int LineNamedIn(const std::u16string& sText) {
  for (const char16_t* szMarker : {u"line = ", u"line - ", u"in a line "}) {
    size_t n = sText.find(szMarker);
    if (n == std::u16string::npos) continue;
    int nLine = 0;
    for (size_t i = n + std::char_traits<char16_t>::length(szMarker); i < sText.size(); ++i) {
      if (sText[i] < u'0' || sText[i] > u'9' || nLine > 100000000) break;
      nLine = nLine * 10 + (sText[i] - u'0');
    }
    if (nLine > 0) return nLine;
  }
  return 0;
}

bool Contains(const std::u16string& s, const char16_t* szPart) { return s.find(szPart) != std::u16string::npos; }

// The line a loader report concerns: the section or list entry it is about.
int LoaderLine(const CheckContext& ctx, const std::u16string& sText) {
  const Layout& layout = ctx.file.layout;
  if (Contains(sText, u"signature or lang or langid")) {
    const LayoutSection* version = layout.Find(u"version");
    return version ? version->nLine : 1;
  }
  if (Contains(sText, u"has a plural rule")) {
    const LayoutSection* version = layout.Find(u"version");
    const LayoutEntry* plural = version ? version->Find(u"plural") : nullptr;
    return plural ? plural->nLine : version ? version->nLine : 1;
  }
  if (Contains(sText, u"].texts")) return ctx.MainEntryLine(u"globals");
  if (Contains(sText, u"].forms")) return ctx.MainEntryLine(u"forms");
  if (Contains(sText, u"will be dumped")) return ctx.MainEntryLine(u"dumpforms");
  const std::u16string kUnreadable = u"Error readig section [";
  if (sText.compare(0, kUnreadable.size(), kUnreadable) == 0) {
    const size_t nClose = sText.find(u']', kUnreadable.size());
    const size_t nName = kUnreadable.size() + ctx.sMainSection.size() + 1;  // after "main."
    if (nClose != std::u16string::npos && nClose >= nName) return ctx.ListingLine(sText.substr(nName, nClose - nName));
  }
  return 1;  // the file as a whole: no version section, no main section, a failed read
}

}  // namespace

void ReportEngine(const CheckContext& ctx) {
  for (const mMain::LogEntry& e : ctx.file.language.reports) {
    int nLine = LineNamedIn(e.sText);
    if (nLine == 0) nLine = LoaderLine(ctx, e.sText);
    const Severity severity = e.kind == mMain::LogEntry::Kind::Error ? Severity::Error : Severity::Note;
    const std::string sSource = base::ToUtf8(e.sSource);
    ctx.Add(nLine, ctx.file.layout.FirstColumn(nLine), severity, e.sText, sSource.c_str());
  }
}

}  // namespace lngcheck
