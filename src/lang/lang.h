#pragma once
// CLang: one loaded language of the product.
//
// The object owns its collections: colTexts holds every text of the loaded
// language under its lower-cased key (form texts under form name & key), as the
// file states it (quotes undone, escapes unresolved); colForms holds, for each
// global or form sub-section, its keys in file order. After a successful Init all
// fields describe one file; a failed Init, or Clear, leaves both collections none,
// the strings empty and the time 0. No member lets a failure reach its caller:
// problems are reported to the error log and a usable result is returned. A
// member with out-parameters (ReadSection's collections) keeps what it added
// before a failure, and nothing else is touched.
//
// A language file is read once per load: Init reads it whole and every section
// it needs is taken from those bytes; InitFromMemory does the same for bytes the
// caller already has (a checking tool, a fuzz target, a benchmark).
//
//   CLang oLang;
//   if (!oLang.InitEx(u"TwinsweepLauncher")) { /* reported; Item gives the keys */ }
//   std::u16string sTitle = oLang.Item(u"LID_TITLE");
//   std::u16string sNote = oLang.Item(u"LID_COUNT", {base::Variant(3)});  // "%d" filled
//
// The public members come first; the members for use inside the engine follow,
// protected, so that the engine's member files (loading, parsing, formatting,
// lookup, localization, dump) share them.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/collection.h"
#include "base/date.h"
#include "base/variant.h"
#include "platform/files.h"
#include "platform/forms.h"

class CLangFile;
struct LangSectionIndex;

class CLang {
 public:
  using TextCollection = base::Collection<std::u16string>;
  using TextCollectionRef = base::CollectionRef<std::u16string>;
  using FormCollectionRef = base::CollectionRef<TextCollectionRef>;

  CLang();   // runs Class_Initialize
  ~CLang();  // runs Class_Terminate
  CLang(const CLang&) = delete;
  CLang& operator=(const CLang&) = delete;

  // The text under Key (any case), escapes resolved; with parameters, their
  // placeholders filled. A missing key is reported and the key itself is used.
  std::u16string Item(const std::u16string& Key, const base::VariantList& sprintf_params);
  std::u16string Item(const std::u16string& Key);
  // Read-only properties of the loaded file.
  std::u16string Filename() const;
  std::u16string LangID() const;
  std::u16string LangName() const;

  // Applies the loaded language's section for the form (dumping it first when
  // the language asks for dumps); reloads the file first when it changed on disk.
  void LocalizeForm(const platform::FormObjectRef& oFrm);
  // The same for a user control whose section is stored under sName.
  void LocalizeUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                           const platform::ControlsRef& oUserControl_Controls);
  // Write the designed texts (and, in mode 1, geometry and pictures) of a form
  // or user control to Dump\<name>.txt under the application's folder.
  void DumpForm(const platform::FormObjectRef& oFrm);
  void DumpUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                       const platform::ControlsRef& oUserControl_Controls);

  // Chooses the user's language file in the application's folder and loads it.
  bool InitEx(const std::u16string& sMainSection);
  // Loads the file sFilename (full path) for the main section sMainSection.
  bool Init(const std::u16string& sFilename, const std::u16string& sMainSection);
  // Loads the language from the bytes of a language file already in memory, as
  // Init would load them from a file; sFilename names them in reports and in
  // Filename(). The time of the file stays 0.
  bool InitFromMemory(const std::u16string& sFilename, std::string_view bytes, const std::u16string& sMainSection);
  // The valid language files of strFolder: "langid" CR LF "lang" CR LF "name.ext".
  TextCollectionRef GetAvailableLangs(const std::u16string& strFolder, const std::u16string& sIgnoreNameExt);
  // Test and in-memory replacement of one text.
  bool ItemFind(const std::u16string& sKey);
  void ItemSet(const std::u16string& sKey, const std::u16string& sItem);
  // Reads the section sSection of sFilename: each entry's text into colValues
  // under lower-case(sPrefix & key), and, when colNames is given, the lower-cased
  // key under the key as written. True when the section was found and read to its end.
  bool ReadSection(const std::u16string& sFilename, const std::u16string& sSection, TextCollection& colValues,
                   const std::u16string& sPrefix, TextCollection* colNames);

 protected:
  // Forgets the loaded language.
  void Clear();
  // One section's entries (keys lower-cased), or none when it cannot be read.
  TextCollectionRef GetSection(const std::u16string& sFilename, const std::u16string& sSection);

  // The one-pass loading. InitFrom is Init on the file sFilename, or on the
  // bytes *pBytes when given. OpenLanguageFile reads the file whole (or takes
  // the bytes) for oFile, reporting as a section read does when it cannot;
  // IndexSections scans the lines once for the section headers;
  // ReadIndexedSection then reads one section from those bytes with the results
  // and reports, in the same order, of a read of the file from its first line.
  bool InitFrom(const std::u16string& sFilename, const std::u16string& sMainSection, const std::string_view* pBytes);
  bool OpenLanguageFile(CLangFile& oFile, const std::u16string& sFilename, const std::string_view* pBytes = nullptr);
  void IndexSections(CLangFile& oFile, const std::u16string& sFilename, LangSectionIndex& index);
  bool ReadIndexedSection(CLangFile& oFile, const LangSectionIndex& index, const std::u16string& sFilename,
                          const std::u16string& sSection, TextCollection& colValues, const std::u16string& sPrefix,
                          TextCollection* colNames);
  // Scratch room of a section read for an entry's folded key and value, kept
  // from line to line so that reading an entry allocates nothing of its own.
  struct EntryBuffers {
    std::u16string sKey;
    std::u16string sValue;
  };
  // The problems that one load (an Init, a ReadSection) finds in the file's
  // lines: the first nLoadProblemsOneByOne are reported one by one, the rest
  // counted in one report when the load ends, so that a file of broken lines
  // cannot flood the log or hold up the start. The checking tool lifts the cap.
  static constexpr int32_t kLoadProblemsOneByOne = 100;
  int32_t nLoadProblemsOneByOne = kLoadProblemsOneByOne;
  // Opens a load's count for its lifetime (nested loads share the outer one)
  // and reports what was not reported one by one when the outermost ends.
  class LoadReports {
   public:
    LoadReports(CLang& oLang, const std::u16string& sFilename);
    ~LoadReports();
    LoadReports(const LoadReports&) = delete;
    LoadReports& operator=(const LoadReports&) = delete;

   private:
    CLang& oLang_;
    const std::u16string& sFilename_;
  };
  void ReportLoadProblem(const char16_t* sFormat, const base::VariantList& params);
  int32_t nLoadDepth = 0;
  int32_t nLoadProblems = 0;
  // One entry line of a section being read (sLine stripped, not a comment).
  void ReadEntry(std::u16string_view sLine, int32_t nLine, const std::u16string& sFilename, TextCollection& colValues,
                 const std::u16string& sFoldedPrefix, TextCollection* colNames, EntryBuffers& buffers);
  // Creation and release.
  void Class_Initialize();
  void Class_Terminate();
  // Checks and removes the enclosing quotes of sText, undoubling inner ones;
  // on failure sError says why and sText is left unusable.
  bool Unquote(std::u16string& sText, std::u16string& sError);
  // The text without leading and trailing spaces and tabs.
  std::u16string TrimBlanks(std::u16string_view sText);
  // A value part cut before its comment (";" or "'" outside double quotes).
  std::u16string StripComment(std::u16string_view sText);

  // Writes the whole dump file of the container sName.
  void DumpControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                    const platform::ControlsRef& oControls);
  // Writes the block of one object under its dump name; pictures go to sPictureFolder.
  void DumpControl(const platform::FormObjectRef& oControl, const std::u16string& sName, platform::FileHandle hFile,
                   const std::u16string& sPictureFolder);
  // A text made fit for a quoted value: \\, \n for CR LF, \t, doubled quotes.
  std::u16string EscapeValue(std::u16string_view sValue);
  // Tabs inserted before the first "=" so that it stands at column 8 * nTabs.
  std::u16string TabAlign(std::u16string_view sLine, int32_t nTabs);
  // Applies the section sName to the container and its controls.
  void LocalizeControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                        const platform::ControlsRef& oControls);

  // Position (from 1) of the first of sChars in sText at or after nStart; 0 when none.
  int32_t InStrAny(std::u16string_view sText, std::u16string_view sChars, int32_t nStart);
  // Escapes resolved, then "%s", "%d" and "%%" filled from sprintf_params.
  std::u16string sprintf1(std::u16string_view sFormat, const base::VariantList& sprintf_params);
  // Backslash escapes resolved: "\\", "\n", "\t" and a backslash before a quote.
  std::u16string sprintf2(std::u16string_view sText);

  // Fields, in their order.
  TextCollectionRef colTexts;
  FormCollectionRef colForms;
  std::u16string sFilename;
  std::u16string sLangID;
  std::u16string sLangName;
  std::u16string sMainSection;
  base::Date dtFileTime;
  int32_t nDumpForms = 0;
};
