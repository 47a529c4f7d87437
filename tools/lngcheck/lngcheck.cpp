#include "lngcheck.h"

#include <memory>
#include <optional>

#include "twinsweep/base/text.h"
#include "checks.h"
#include "fit.h"
#include "fix.h"
#include "po.h"
#include "pseudo.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

constexpr char kUsage[] =
    "usage: lngcheck [--format=text|json] [--werror] [--reference REF.lng] FILE.lng [MAIN_SECTION]\n"
    "       lngcheck --pseudo [--mirrored] REF.lng [MAIN_SECTION] > XX.lng\n"
    "       lngcheck --to-po REF.lng [TRANSLATION.lng] [MAIN_SECTION] > XX.po\n"
    "       lngcheck --from-po XX.po REF.lng [--base XX.lng] [--lang NAME] [MAIN_SECTION] > XX.lng\n"
    "       lngcheck --fix FILE.lng...\n"
    "       lngcheck --fit FILE.lng [--format=text|json] [--program PROGRAM.exe] [--margin PERCENT] [MAIN_SECTION]\n"
    "       lngcheck --help\n";

// The most findings printed; the counts cover all of them.
constexpr size_t kPrintedFindings = 1000;

struct Options {
  bool bJson = false;
  bool bWerror = false;
  bool bFix = false;
  bool bHelp = false;
  bool bMirrored = false;
  std::optional<std::u16string> sReference;
  std::optional<std::u16string> sPseudoFrom;
  std::optional<std::u16string> sToPoFrom;
  std::optional<std::u16string> sFromPo;
  std::optional<std::u16string> sBase;
  std::optional<std::u16string> sFit;
  std::optional<std::u16string> sProgram;
  std::optional<std::u16string> sMargin;
  std::optional<std::u16string> sLang;
  std::vector<std::u16string> positional;
};

bool IsLanguageFileName(const std::u16string& s) {
  return s.size() > 4 && base::EqualsNoCase(std::u16string_view(s).substr(s.size() - 4), u".lng");
}

// False on wrong usage.
bool ParseArguments(const std::vector<std::u16string>& args, Options* p) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::u16string& a = args[i];
    auto value = [&](std::optional<std::u16string>* target) {
      if (i + 1 >= args.size()) return false;
      *target = args[++i];
      return true;
    };
    if (a == u"--format=json") {
      p->bJson = true;
    } else if (a == u"--format=text") {
      p->bJson = false;
    } else if (a == u"--werror") {
      p->bWerror = true;
    } else if (a == u"--reference") {
      if (!value(&p->sReference)) return false;
    } else if (a == u"--pseudo") {
      // "--pseudo --mirrored REF.lng", as the usage writes it.
      if (i + 1 < args.size() && args[i + 1] == u"--mirrored") {
        p->bMirrored = true;
        ++i;
      }
      if (!value(&p->sPseudoFrom)) return false;
    } else if (a == u"--to-po") {
      if (!value(&p->sToPoFrom)) return false;
    } else if (a == u"--from-po") {
      if (!value(&p->sFromPo)) return false;
    } else if (a == u"--base") {
      if (!value(&p->sBase)) return false;
    } else if (a == u"--fit") {
      if (!value(&p->sFit)) return false;
    } else if (a == u"--program") {
      if (!value(&p->sProgram)) return false;
    } else if (a == u"--margin") {
      if (!value(&p->sMargin)) return false;
    } else if (a == u"--lang") {
      if (!value(&p->sLang)) return false;
    } else if (a == u"--mirrored") {
      p->bMirrored = true;
    } else if (a == u"--fix") {
      p->bFix = true;
    } else if (a == u"--help") {
      p->bHelp = true;
    } else if (a.size() > 1 && a[0] == u'-') {
      return false;
    } else {
      p->positional.push_back(a);
    }
  }
  if (p->bHelp) return args.size() == 2;
  const int nModes = !!p->sPseudoFrom + !!p->sToPoFrom + !!p->sFromPo + p->bFix + !!p->sFit;
  if (nModes > 1 || ((p->sBase || p->sLang) && !p->sFromPo) || (nModes && p->sReference)) return false;
  if ((p->sProgram || p->sMargin) && !p->sFit) return false;
  if (p->bMirrored && !p->sPseudoFrom) return false;
  if (p->sMargin && (p->sMargin->empty() || p->sMargin->size() > 2 ||
                     p->sMargin->find_first_not_of(u"0123456789") != std::u16string::npos))
    return false;
  if (p->sFit) return p->positional.size() <= 1;
  if (p->sPseudoFrom) return p->positional.size() <= 1;
  // The translation is told from the main section by its extension.
  if (p->sToPoFrom)
    return p->positional.size() <= 1 || (p->positional.size() == 2 && IsLanguageFileName(p->positional[0]));
  if (p->sFromPo) return !p->positional.empty() && p->positional.size() <= 2;
  if (p->bFix) return !p->positional.empty();
  return !p->positional.empty() && p->positional.size() <= 2;
}

// A file read and loaded: everything the checks look at. Not movable: the
// layout and the checked view refer to the members.
class LoadedFile {
 public:
  LoadedFile(const std::u16string& sPath, const std::u16string& sMainSection) {
    bRead_ = source_.Read(sPath);
    if (!bRead_) return;
    layout_ = std::make_unique<Layout>(source_);
    language_ = LoadLanguage(sPath, source_.Bytes(), sMainSection);
    checked_ = std::make_unique<CheckedFile>(CheckedFile{base::ToUtf8(sPath), source_, *layout_, language_});
  }
  LoadedFile(const LoadedFile&) = delete;
  LoadedFile& operator=(const LoadedFile&) = delete;

  bool Readable() const { return bRead_; }
  const CheckedFile& Checked() const { return *checked_; }

 private:
  bool bRead_ = false;
  SourceFile source_;
  std::unique_ptr<Layout> layout_;
  LoadedLanguage language_;
  std::unique_ptr<CheckedFile> checked_;
};

std::string CannotRead(const std::u16string& sPath) { return "lngcheck: cannot read " + base::ToUtf8(sPath) + "\n"; }

// The reference must load: a comparison with a broken reference means nothing.
bool LoadsCleanly(const LoadedFile& f, std::string* psErr) {
  if (f.Checked().language.bLoaded) return true;
  *psErr += "lngcheck: the reference " + f.Checked().sDisplayName + " does not load:\n";
  for (const mMain::LogEntry& e : f.Checked().language.reports) *psErr += "  " + base::ToUtf8(e.sText) + "\n";
  return false;
}

int Pseudo(const Options& o, const std::u16string& sMain, std::string* psOut, std::string* psErr) {
  LoadedFile reference(*o.sPseudoFrom, sMain);
  if (!reference.Readable()) {
    *psErr += CannotRead(*o.sPseudoFrom);
    return 2;
  }
  if (!LoadsCleanly(reference, psErr)) return 2;
  *psOut += PseudoFile(reference.Checked(), sMain, o.bMirrored);
  return 0;
}

int ToPo(const Options& o, std::string* psOut, std::string* psErr) {
  const bool bTranslation = !o.positional.empty() && IsLanguageFileName(o.positional[0]);
  const size_t nMainAt = bTranslation ? 1 : 0;
  const std::u16string sMain = o.positional.size() > nMainAt ? o.positional[nMainAt] : kDefaultMainSection;
  LoadedFile reference(*o.sToPoFrom, sMain);
  if (!reference.Readable()) {
    *psErr += CannotRead(*o.sToPoFrom);
    return 2;
  }
  if (!LoadsCleanly(reference, psErr)) return 2;
  std::unique_ptr<LoadedFile> translation;
  if (bTranslation) {
    translation = std::make_unique<LoadedFile>(o.positional[0], sMain);
    if (!translation->Readable()) {
      *psErr += CannotRead(o.positional[0]);
      return 2;
    }
  }
  *psOut += ToPo(reference.Checked(), translation ? &translation->Checked() : nullptr, sMain);
  return 0;
}

bool ReadBytes(const std::u16string& sPath, std::string* psBytes) {
  SourceFile file;
  if (!file.Read(sPath)) return false;
  *psBytes = file.Original();
  return true;
}

int FromPo(const Options& o, std::string* psOut, std::string* psErr) {
  const std::u16string& sRef = o.positional[0];
  const std::u16string sMain = o.positional.size() > 1 ? o.positional[1] : kDefaultMainSection;
  std::string sPo;
  if (!ReadBytes(*o.sFromPo, &sPo)) {
    *psErr += CannotRead(*o.sFromPo);
    return 2;
  }
  LoadedFile reference(sRef, sMain);
  if (!reference.Readable()) {
    *psErr += CannotRead(sRef);
    return 2;
  }
  if (!LoadsCleanly(reference, psErr)) return 2;
  std::unique_ptr<LoadedFile> base;
  if (o.sBase) {
    base = std::make_unique<LoadedFile>(*o.sBase, sMain);
    if (!base->Readable()) {
      *psErr += CannotRead(*o.sBase);
      return 2;
    }
  }
  std::string sFile, sErrors, sNotes;
  const bool bOk =
      lngcheck::FromPo(base::ToUtf8(*o.sFromPo), sPo, reference.Checked(), base ? &base->Checked() : nullptr, sMain,
                       o.sLang.value_or(u""), &sFile, &sErrors, &sNotes);
  *psErr += sNotes + sErrors;
  if (!bOk) return 1;
  *psOut += sFile;
  return 0;
}

int Check(const Options& o, const std::u16string& sMain, std::string* psOut, std::string* psErr) {
  const std::u16string& sPath = o.positional[0];
  std::unique_ptr<LoadedFile> reference;
  if (o.sReference) {
    reference = std::make_unique<LoadedFile>(*o.sReference, sMain);
    if (!reference->Readable()) {
      *psErr += CannotRead(*o.sReference);
      return 2;
    }
    if (!LoadsCleanly(*reference, psErr)) return 2;
  }
  LoadedFile file(sPath, sMain);
  if (!file.Readable()) {
    *psErr += CannotRead(sPath);
    return 2;
  }
  Findings findings;
  const CheckContext ctx{file.Checked(), sMain, findings};
  ReportEngine(ctx);
  CheckBytes(ctx);
  CheckKeys(ctx);
  CheckEscapes(ctx);
  CheckFrenchSpacing(ctx);
  CheckBidi(ctx);
  CheckPlurals(ctx);
  CheckAccessKeys(ctx, reference ? &reference->Checked() : nullptr);
  if (reference) CompareWithReference(ctx, reference->Checked());

  // Every finding is counted; a file of broken lines prints only the first ones.
  std::vector<Diagnostic> sorted = findings.Sorted();
  const size_t nUnprinted = sorted.size() > kPrintedFindings ? sorted.size() - kPrintedFindings : 0;
  sorted.resize(sorted.size() - nUnprinted);
  *psOut += o.bJson ? FormatJson(sorted) : FormatText(sorted);
  if (nUnprinted) {
    // After the text's lines; beside a JSON array, which must stay whole.
    *(o.bJson ? psErr : psOut) += "lngcheck: " + std::to_string(nUnprinted) + " more finding(s) not printed\n";
  }
  const int nErrors = findings.Count(Severity::Error), nWarnings = findings.Count(Severity::Warning);
  *psErr += file.Checked().sDisplayName + ": " + std::to_string(nErrors) + " error(s), " + std::to_string(nWarnings) +
            " warning(s), " + std::to_string(findings.Count(Severity::Note)) + " note(s)\n";
  return nErrors || (o.bWerror && nWarnings) ? 1 : 0;
}

}  // namespace

int Run(const std::vector<std::u16string>& args, std::string* psOut, std::string* psErr) {
  Options o;
  if (!ParseArguments(args, &o)) {
    *psErr += kUsage;
    return 2;
  }
  if (o.bHelp) {
    *psOut += kUsage;
    return 0;
  }
  if (o.sToPoFrom) return ToPo(o, psOut, psErr);
  if (o.sFromPo) return FromPo(o, psOut, psErr);
  if (o.bFix) return FixFiles(o.positional, psOut, psErr);
  if (o.sFit) {
    FitOptions fit;
    fit.sFile = *o.sFit;
    fit.sMainSection = o.positional.empty() ? kDefaultMainSection : o.positional[0];
    fit.sProgram = o.sProgram;
    fit.bJson = o.bJson;
    if (o.sMargin) fit.nMarginPercent = std::stoi(base::ToUtf8(*o.sMargin));
    return Fit(fit, psOut, psErr);
  }
  const size_t nMainAt = o.sPseudoFrom ? 0 : 1;
  const std::u16string sMain = o.positional.size() > nMainAt ? o.positional[nMainAt] : kDefaultMainSection;
  return o.sPseudoFrom ? Pseudo(o, sMain, psOut, psErr) : Check(o, sMain, psOut, psErr);
}

}  // namespace lngcheck
