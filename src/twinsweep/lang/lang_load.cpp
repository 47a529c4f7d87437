// CLang: creation and release, the properties of the loaded file, and loading:
// Init (one given file, read whole once), InitFromMemory (the same bytes from
// the caller), InitEx (the user's file from the caller's options source and the
// application's folder), GetAvailableLangs, GetSection and Clear.
#include <optional>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_direction.h"
#include "twinsweep/lang/lang_file.h"
#include "twinsweep/lang/lang_options.h"
#include "twinsweep/lang/lang_section_index.h"
#include "twinsweep/lang/plural_rule.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/message_box.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/file_utils.h"

namespace twinsweep {

namespace {

constexpr char16_t kSignature[] = u"Orvex.LangLngFile";
constexpr char16_t kCrLf[] = u"\r\n";

// A key that a section does not have counts as an empty text.
std::u16string ValueOf(const CLang::TextCollection& col, std::u16string_view sKey) {
  const auto p = col.Find(sKey);
  return p ? std::u16string(*p) : std::u16string();
}

bool IsValidVersion(const CLang::TextCollection& colVersion, std::u16string* psLangID, std::u16string* psLang) {
  *psLangID = ValueOf(colVersion, u"langid");
  *psLang = ValueOf(colVersion, u"lang");
  return ValueOf(colVersion, u"signature") == kSignature && !psLangID->empty() && !psLang->empty();
}

}  // namespace

CLang::CLang() { Class_Initialize(); }

CLang::~CLang() { Class_Terminate(); }

std::u16string CLang::Filename() const { return sFilename; }
std::u16string CLang::LangID() const { return sLangID; }
std::u16string CLang::LangName() const { return sLangName; }
bool CLang::RightToLeft() const { return bRightToLeft; }
uint32_t CLang::BoxFlags() const { return bRightToLeft ? platform::kMbRtlReading | platform::kMbRight : 0; }

bool CLang::InitEx(const std::u16string& sMainSection) {
  CFixedLangOptions oEnglish(u"EN");
  return InitEx(sMainSection, oEnglish);
}

bool CLang::InitEx(const std::u16string& sMainSection, ILangOptions& oOptions) {
  try {
    if (const LangFitCheck fit = oOptions.FitCheck(); fit.bOn) SetFitCheck(fit);
    std::u16string sID = oOptions.LangID();
    if (sID.empty()) {
      sID = u"EN";
      oOptions.LangID(sID);
    }
    std::u16string sFile = oOptions.LangFile();
    std::u16string sIgnore;
    const std::u16string sFolder = platform::App().AppFolder();
    if (!sFile.empty()) {
      if (!Init(sFolder + u"\\" + sFile, sMainSection)) {
        sIgnore = sFile;
        sFile.clear();
      } else if (!base::EqualsNoCase(LangID(), sID)) {
        sIgnore = sFile;
        sFile.clear();
        Clear();
      } else {
        return true;
      }
    }
    TextCollectionRef colList = GetAvailableLangs(sFolder, sIgnore);
    for (const auto& entry : base::Deref(colList)) {
      const std::u16string_view s = entry.item;
      size_t nFirst = s.find(kCrLf);
      if (s.substr(0, nFirst) != sID) continue;
      size_t nSecond = nFirst == std::u16string::npos ? nFirst : s.find(kCrLf, nFirst + 2);
      if (nSecond == std::u16string::npos) continue;
      sFile = s.substr(nSecond + 2);
      break;
    }
    if (sFile.empty()) {
      mMain::LogError(u"CLang.InitEx", 0, u"Cant find lang file by langID=" + sID);
      return false;
    }
    if (!Init(sFolder + u"\\" + sFile, sMainSection)) return false;
    oOptions.LangFile(sFile);
    return true;
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(u"CLang.InitEx", -1);
    return false;
  }
}

bool CLang::Init(const std::u16string& sFilenameIn, const std::u16string& sMainSectionIn) {
  return InitFrom(sFilenameIn, sMainSectionIn, nullptr);
}

bool CLang::InitFromMemory(const std::u16string& sFilenameIn, std::string_view bytes,
                           const std::u16string& sMainSectionIn) {
  return InitFrom(sFilenameIn, sMainSectionIn, &bytes);
}

bool CLang::InitFrom(const std::u16string& sFilenameIn, const std::u16string& sMainSectionIn,
                     const std::string_view* pBytes) {
  // Copies first: a reload passes this object's own fields, which Clear empties.
  const std::u16string sFile = sFilenameIn;
  const std::u16string sMain = sMainSectionIn;
  const char16_t* const kSource = u"CLang.Init";
  auto report = [&](const char16_t* sFormat, base::VariantList params) {
    mMain::LogError(kSource, 0, sprintf1(sFormat, params));
  };
  LoadReports reports(*this, sFile);
  try {
    Clear();
    // The time first: a save during or after the read leaves a newer time
    // behind, so the next form reloads the file.
    base::Date dt;
    const bool bTime = !pBytes && mFileUtils::GetFileLastModificationTime(sFile, dt);
    CLangFile oFile;
    if (!OpenLanguageFile(oFile, sFile, pBytes)) {
      report(u"file '%s' has no version section", {sFile});
      return false;
    }
    // Part of a file is no language: a read failure fails the load, as an
    // unreadable file does.
    if (oFile.ReadFailed()) {
      mMain::LogError(u"CLang.ReadSection", oFile.ReadError(), std::u16string(u"oFile.ReadLine failed"));
      return false;
    }
    LangSectionIndex index;
    IndexSections(oFile, sFile, index);
    // Each section is read from the index in the order, and with the reports,
    // of a read of the whole file for that section alone.
    auto getSection = [&](const std::u16string& sSection) {
      TextCollectionRef colSection;
      base::Ignore([&] {
        TextCollectionRef c = base::NewCollection<std::u16string>();
        if (ReadIndexedSection(oFile, index, sFile, sSection, *c, std::u16string(), nullptr)) colSection = c;
      });
      return colSection;
    };
    TextCollectionRef colVersion = getSection(u"version");
    if (!colVersion) {
      report(u"file '%s' has no version section", {sFile});
      return false;
    }
    std::u16string sID, sName;
    if (!IsValidVersion(*colVersion, &sID, &sName)) {
      report(u"file '%s' has no(or wrong) signature or lang or langid in [version] section", {sFile});
      return false;
    }
    // The plural rule is read once here; one that cannot be read leaves English.
    std::unique_ptr<PluralRule> pRule;
    const std::u16string sPlural = ValueOf(*colVersion, u"plural");
    if (!sPlural.empty()) {
      pRule = std::make_unique<PluralRule>();
      std::u16string sWhy;
      if (!pRule->Parse(sPlural, &sWhy)) {
        report(u"file '%s' has a plural rule that cannot be read (%s); English plurals are used", {sFile, sWhy});
        pRule.reset();
      }
    }
    // The direction: the file's own word, else its language's.
    bool bRtl = IsRightToLeftLanguage(sID);
    const std::u16string sDirection = base::LCase(ValueOf(*colVersion, u"direction"));
    if (sDirection == u"rtl" || sDirection == u"ltr") {
      bRtl = sDirection == u"rtl";
    } else if (!sDirection.empty()) {
      report(u"file '%s' has a direction that is neither \"rtl\" nor \"ltr\" (%s); the language's own is used",
             {sFile, sDirection});
    }
    FormCollectionRef colF = base::NewCollection<TextCollectionRef>();
    TextCollectionRef colMain = getSection(sMain);
    if (!colMain) {
      report(u"file '%s' has no [%s] section", {sFile, sMain});
      return false;
    }
    const std::u16string sGlobals = ValueOf(*colMain, u"globals");
    if (sGlobals.empty()) report(u"file '%s' has no (or empty) [%s].texts", {sFile, sMain});
    const std::u16string sForms = ValueOf(*colMain, u"forms");
    if (sForms.empty()) {
      mMain::LogDebug(kSource, sprintf1(u"file '%s' has no (or empty) [%s].forms", {sFile, sMain}));
    }
    nDumpForms = 0;
    // Rounded as a double and compared, so that a huge number is simply "no dump".
    double dDump = base::RoundHalfEven(base::LeadingNumber(ValueOf(*colMain, u"dumpforms")));
    if (dDump == 1.0 || dDump == 2.0 || dDump == 3.0) {
      nDumpForms = static_cast<int32_t>(dDump);
      mMain::LogDebug(kSource, u"The forms will be dumped when they will appear");
    }
    // Beside the dump, the same way: a number that rounds to anything but 0 asks for the check.
    nCheckFit = base::RoundHalfEven(base::LeadingNumber(ValueOf(*colMain, u"checkfit"))) != 0.0 ? 1 : 0;

    TextCollectionRef colT = base::NewCollection<std::u16string>();
    // Global sub-sections add their keys as they are; form sub-sections under
    // the form's name, which keeps form texts apart from global ones.
    // Room for every line of the listed sections at once, rather than growing
    // the texts' index step by step.
    size_t nRoom = 0;
    for (const std::u16string* pList : {&sGlobals, &sForms}) {
      for (const std::u16string& sPiece : base::Split(*pList, u",")) {
        auto it = index.sections.find(base::LCase(sMain + u"." + TrimBlanks(sPiece)));
        if (it != index.sections.end()) nRoom += static_cast<size_t>(it->second.nBodyLines);
      }
    }
    colT->Reserve(nRoom);
    auto readList = [&](const std::u16string& sList, bool bForms) {
      for (const std::u16string& sPiece : base::Split(sList, u",")) {
        std::u16string sN = TrimBlanks(sPiece);
        if (sN.empty()) {
          report(bForms ? u"file '%s' has error in [%s].forms" : u"file '%s' has error in [%s].texts", {sFile, sMain});
          return false;
        }
        TextCollectionRef colK = base::NewCollection<std::u16string>();
        std::u16string sSub = sMain + u"." + sN;
        auto it = index.sections.find(base::LCase(sSub));
        if (it != index.sections.end()) colK->Reserve(static_cast<size_t>(it->second.nBodyLines));
        if (!ReadIndexedSection(oFile, index, sFile, sSub, *colT, bForms ? sN : std::u16string(), colK.get())) {
          report(u"Error readig section [%s] in file '%s'", {sSub, sFile});
          return false;
        }
        colF->AddFolded(colK, base::LCase(sN));
      }
      return true;
    };
    if (!readList(sGlobals, false)) return false;
    if (!readList(sForms, true)) return false;

    colTexts = colT;
    colForms = colF;
    sFilename = sFile;
    sLangID = sID;
    sLangName = sName;
    sMainSection = sMain;
    dtFileTime = bTime ? dt : base::Date{};
    pPluralRule = std::move(pRule);
    bRightToLeft = bRtl;
    return true;
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(kSource, -1, std::nullopt, u"file = '" + sFile + u"'");
    Clear();
    return false;
  }
}

CLang::TextCollectionRef CLang::GetAvailableLangs(const std::u16string& strFolder,
                                                  const std::u16string& sIgnoreNameExt) {
  TextCollectionRef colResult = base::NewCollection<std::u16string>();
  platform::IFiles& files = platform::Files();
  try {
    platform::ScopedFind hFind;
    platform::FindData fd;
    // No language file, or no folder, is an empty list; a search that failed is
    // reported, so that a list cut short is never taken for the whole one.
    auto reportSearch = [&](int32_t nStatus) {
      mMain::LogError(u"CLang.GetAvailableLangs", nStatus, sprintf1(u"searching folder '%s' failed", {strFolder}));
    };
    int32_t nStatus = files.FindFirst(strFolder + u"\\*.lng", hFind.Receive(), &fd);
    if (nStatus != platform::kErrorSuccess) {
      if (nStatus != platform::kErrorFileNotFound && nStatus != platform::kErrorPathNotFound &&
          nStatus != platform::kErrorNoMoreFiles)
        reportSearch(nStatus);
      return colResult;
    }
    do {
      const std::u16string sName = fd.sName;
      if (base::EqualsNoCase(sName, sIgnoreNameExt) || (fd.nAttributes & platform::kFileAttributeDirectory)) continue;
      const std::u16string sPath = strFolder + u"\\" + sName;
      TextCollectionRef colVersion = GetSection(sPath, u"version");
      if (!colVersion) {
        mMain::LogDebug(u"CLang.GetAvailableLangs", sprintf1(u"ignoring file '%s', coz no [version] section", {sPath}));
        continue;
      }
      std::u16string sID, sLang;
      if (!IsValidVersion(*colVersion, &sID, &sLang)) {
        mMain::LogDebug(
            u"CLang.GetAvailableLangs",
            sprintf1(u"ignoring file '%s', coz in section [version] no(or wrong) signature or lang or langid",
                     {sPath}));
        continue;
      }
      colResult->Add(sID + kCrLf + sLang + kCrLf + sName);
    } while ((nStatus = files.FindNext(hFind.Get(), &fd)) == platform::kErrorSuccess);
    if (nStatus != platform::kErrorNoMoreFiles) reportSearch(nStatus);
  } catch (...) {
    base::SetPendingFromCurrentException();
    mMain::LogError(u"CLang.GetAvailableLangs", -1);
  }
  return colResult;
}

void CLang::Clear() {
  colTexts.reset();
  colForms.reset();
  sFilename.clear();
  sLangID.clear();
  sLangName.clear();
  sMainSection.clear();
  dtFileTime = base::Date{};
  nDumpForms = 0;
  nCheckFit = 0;
  pPluralRule.reset();
  bRightToLeft = false;
}

CLang::TextCollectionRef CLang::GetSection(const std::u16string& sFilename, const std::u16string& sSection) {
  TextCollectionRef colSection;
  base::Ignore([&] {
    TextCollectionRef c = base::NewCollection<std::u16string>();
    if (ReadSection(sFilename, sSection, *c, std::u16string(), nullptr)) colSection = c;
  });
  return colSection;
}

void CLang::Class_Initialize() { colTexts = base::NewCollection<std::u16string>(); }

void CLang::Class_Terminate() { Clear(); }

}  // namespace twinsweep
