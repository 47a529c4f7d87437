#pragma once
// CLang: one loaded language of a program, from a language file (.lng) beside it.
// Everything of the engine is in the namespace twinsweep:
//
//   using twinsweep::CLang;
//   using twinsweep::CRegistryLangOptions;
//   namespace base = twinsweep::base;
//
//   CLang oLang;                                      // one object per thread
//   CRegistryLangOptions oOptions(u"Software\\Maker\\Product");
//   oLang.InitEx(u"Product", oOptions);               // the user's language file
//   std::u16string sTitle = oLang.Item(u"LID_TITLE");
//   std::u16string sNote = oLang.Item(u"LID_COUNT", {base::Variant(3), base::Variant(u"files")});
//                                                     // "%d %s" filled in order
//   std::u16string sDays = oLang.ItemPlural(u"LID_DAYS", n, {base::Variant(n)});
//                                                     // LID_DAYS[0], [1], ... by the
//                                                     // language's plural rule
//   oLang.LocalizeForm(frm);  // a dialog attached to the window framework
//                             // (platform::win32::AttachForm in the Windows build)
//
// Units: positions and sizes in language files and in the dumps are the form's
// own position units as the framework gives them, twips (1/1440 inch) for forms
// designed in twips; only the relative keys ("dleft", "dtop", "dwidth",
// "dheight") are screen pixels, converted with the screen's twips per pixel.
//
// Threads: an object is used by one thread at a time; give each thread its own.
//
// Failures: no member lets a failure reach its caller. Every problem (a missing
// file, a bad line, a missing key, a wrong placeholder) is reported to the error
// log (base/error_log.h) and a usable result is returned: false from a load, the
// key itself for a missing text. The error log hands each entry to the sink the
// program sets with mMain::SetLogSink, declared in base/error_log.h and part of
// the engine (none by default: entries are dropped).
// No member throws, except that running out of memory while building a result
// (std::bad_alloc) can escape the constructor, Item, the three properties and
// GetAvailableLangs.
//
// The object owns what it loaded: every text under its lower-cased key (form
// texts under form name & key), and for each global or form section its keys in
// file order. After a successful load everything describes one file; a failed
// load leaves nothing loaded (no text, empty properties).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "twinsweep/base/collection.h"
#include "twinsweep/base/date.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/base/variant.h"
#include "twinsweep/lang/lang_options.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/forms.h"

namespace twinsweep {

class CLangFile;
class PluralRule;
struct LangSectionIndex;

/// One loaded language of a program, from a language file (.lng) beside it: its
/// texts, its form sections, and what it needs to localize and dump forms. The
/// file's comment above tells the units, threads and failure rules.
class CLang {
 public:
  /// Texts under their lower-cased keys, in file order.
  using TextCollection = base::Collection<std::u16string>;
  /// A shared TextCollection, or none.
  using TextCollectionRef = base::CollectionRef<std::u16string>;
  /// One key list per global or form sub-section, or none.
  using FormCollectionRef = base::CollectionRef<TextCollectionRef>;

  CLang();
  ~CLang();
  CLang(const CLang&) = delete;
  CLang& operator=(const CLang&) = delete;

  // Loading. Each load first forgets what was loaded, and answers true when the
  // file's version section (signature, langid, lang) and main section were read.

  /// Chooses the user's language file in the application's folder and loads it:
  /// the file that oOptions remembers, when it exists and has the chosen language
  /// id (any case); else the first file of the folder whose langid is exactly the
  /// id, which oOptions then remembers. No language chosen counts as "EN", which
  /// oOptions then remembers too. Reports "Cant find lang file by langID=<id>"
  /// when no file has the language.
  bool InitEx(const std::u16string& sMainSection, ILangOptions& oOptions);
  /// The same with CFixedLangOptions(u"EN"): English, and nothing written anywhere.
  /// Before, this form took the user's language from the registry: LANG and LANG_
  /// of the product's key (`Software\\Orvex\\Twinsweep`), the user's else the
  /// machine's, and remembered its choice there. For that, give the key:
  /// \code
  /// CRegistryLangOptions oOptions(u"Software\\Orvex\\Twinsweep");
  /// oLang.InitEx(sMainSection, oOptions);
  /// \endcode
  bool InitEx(const std::u16string& sMainSection);
  /// Loads the file sFilename (full path) for the main section sMainSection;
  /// reports the first hundred bad lines with the file and line, then how many
  /// more there were.
  bool Init(const std::u16string& sFilename, const std::u16string& sMainSection);
  /// Loads the bytes of a language file already in memory, as Init would load
  /// them from a file; sFilename names them in reports and in Filename(). The
  /// file's time stays unknown, so LocalizeForm never reloads them.
  bool InitFromMemory(const std::u16string& sFilename, std::string_view bytes, const std::u16string& sMainSection);

  // Texts.

  /// The text under Key (any case), its escapes resolved (\\\\, \\n, \\t, \\");
  /// with parameters, its placeholders "%s" and "%d" filled in order and "%%" made
  /// "%". A missing key is reported and the key itself is answered. A placeholder
  /// without a parameter is reported and the text comes with its placeholders
  /// unfilled; an unknown one ("%x") is reported and left out. A translation may
  /// number its placeholders instead ("%2$s ... %1$d" takes the second parameter,
  /// then the first), all of them or none: a text that mixes both is reported
  /// and answered as written, its escapes resolved.
  std::u16string Item(const std::u16string& Key, const base::VariantList& sprintf_params);
  /// The text under Key (any case) with its escapes resolved; as Item with parameters, without them.
  std::u16string Item(const std::u16string& Key);
  /// The plural form of the text `Key` for the count `n`, formatted as Item
  /// formats a text. The forms stand in the language file as `Key[0]`,
  /// `Key[1]`, ...; the rule of its `[version]` entry `plural` (gettext's
  /// Plural-Forms, for example `nplurals=2; plural=n != 1;`) picks one for `n`
  /// (for a negative `n`, for `-n`). Without that entry, or with one that cannot
  /// be read (reported when the file loads), the rule is English: `Key[0]` for
  /// 1, `Key[1]` otherwise. A missing form is reported and `Key[0]` is used;
  /// without `Key[0]` the key itself is answered, as Item does. `n` is not a
  /// parameter: pass it in `sprintf_params` as well when the text shows it.
  std::u16string ItemPlural(const std::u16string& Key, int64_t n, const base::VariantList& sprintf_params);
  /// ItemPlural without parameters: the form with its escapes resolved only.
  std::u16string ItemPlural(const std::u16string& Key, int64_t n);
  /// True when the loaded language has a text under sKey (any case). Reports nothing.
  bool ItemFind(const std::u16string& sKey);
  /// Puts sItem under sKey in memory, in place of any text there (the file is not
  /// changed). Reports nothing.
  void ItemSet(const std::u16string& sKey, const std::u16string& sItem);

  /// The loaded file: its path, its langid ("DE") and its language name ("Deutsch");
  /// empty when nothing is loaded.
  std::u16string Filename() const;
  /// The loaded file's langid ("DE"); empty when nothing is loaded.
  std::u16string LangID() const;
  /// The loaded file's language name ("Deutsch"); empty when nothing is loaded.
  std::u16string LangName() const;
  /// True when the loaded language is written right to left: its `[version]`
  /// entry `direction` ("rtl" or "ltr"), or without one its langid's language as
  /// CLDR orders its characters (Arabic, Hebrew, Persian, Urdu, ...). False when
  /// nothing is loaded. In such a language every value that Item puts into a text
  /// is isolated, LocalizeForm mirrors forms, and BoxFlags asks for boxes that
  /// read right to left.
  bool RightToLeft() const;
  /// The flags that a message box in the loaded language adds to its type:
  /// MB_RTLREADING | MB_RIGHT (platform::kMbRtlReading | kMbRight) for a language
  /// written right to left, else 0.
  uint32_t BoxFlags() const;

  // Forms.

  /// Applies the loaded language's section for the form (texts, captions, tool
  /// tips, positions, pictures) to it and its controls, and its direction: a
  /// framework's form that has the property RightToLeft is mirrored for a
  /// language written right to left and turned back for another, its positions
  /// still counted from its leading edge. Dumps the form first
  /// when the language file asks for dumps; reloads the file first when it
  /// changed on disk. A bad entry is reported, with the form's name as the
  /// report's first field, and skipped; a property a control lacks leaves it as it was.
  void LocalizeForm(const platform::FormObjectRef& oFrm);
  /// The same for a user control whose section is stored under sName.
  void LocalizeUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                           const platform::ControlsRef& oUserControl_Controls);
  /// Writes the designed texts (and, in mode 1, positions as the framework gives
  /// them, twips for forms designed in twips, and pictures)
  /// of a form or user control to Dump\<name>.txt under the application's folder,
  /// as a start for a translation. A file that cannot be written is reported.
  void DumpForm(const platform::FormObjectRef& oFrm);
  /// The same for a user control whose section is stored under sName.
  void DumpUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                       const platform::ControlsRef& oUserControl_Controls);
  /// Turns the fit check on or off for every later LocalizeForm and
  /// LocalizeUserControl, and sets its margin. With the check on (here, through
  /// InitEx's options, or by `checkfit = 1` in the language file's main section),
  /// every caption that a form section changed is measured in its control's own
  /// font once the section is applied, and a text that does not fit is reported:
  /// "text of control '<key's control>' on form '<form>' needs <n> px, has <m> px",
  /// with the fields form, control, n and m, for a program that reads the log.
  void SetFitCheck(const LangFitCheck& fit);

  // Files.

  /// The valid language files of strFolder but sIgnoreNameExt, one item each:
  /// "langid" CR LF "lang" CR LF "name.ext". A file without a valid version
  /// section is left out with a debug note; a failed folder search is reported.
  TextCollectionRef GetAvailableLangs(const std::u16string& strFolder, const std::u16string& sIgnoreNameExt);
  /// Reads the section sSection of sFilename: each entry's text into colValues
  /// under lower-case(sPrefix & key), and, when colNames is given, the lower-cased
  /// key under the key as written. True when the section was found and read to its
  /// end; a bad line is reported, and what was added before it stays.
  bool ReadSection(const std::u16string& sFilename, const std::u16string& sSection, TextCollection& colValues,
                   const std::u16string& sPrefix, TextCollection* colNames);

 private:
  /// The engine's own tools and tests reach the load steps below, and the state a
  /// load leaves, through CLangInternals (lang/lang_internals.h); a program needs
  /// none of them.
  friend class CLangInternals;

  /// Forgets the loaded language.
  void Clear();
  /// The text found under a key (nullopt when missing), formatted as Item does;
  /// a missing text is reported under sReportKey and Key stands in for it.
  std::u16string FormatFound(const std::u16string& Key, const std::u16string& sReportKey,
                             std::optional<std::u16string_view> pText, const base::VariantList& sprintf_params);
  /// One section's entries (keys lower-cased), or none when it cannot be read.
  TextCollectionRef GetSection(const std::u16string& sFilename, const std::u16string& sSection);

  /// The one-pass loading. InitFrom is Init on the file sFilename, or on the
  /// bytes *pBytes when given. OpenLanguageFile reads the file whole (or takes
  /// the bytes) for oFile, reporting as a section read does when it cannot;
  /// IndexSections scans the lines once for the section headers;
  /// ReadIndexedSection then reads one section from those bytes with the results
  /// and reports, in the same order, of a read of the file from its first line.
  bool InitFrom(const std::u16string& sFilename, const std::u16string& sMainSection, const std::string_view* pBytes);
  bool OpenLanguageFile(CLangFile& oFile, const std::u16string& sFilename, const std::string_view* pBytes = nullptr);
  void IndexSections(CLangFile& oFile, const std::u16string& sFilename, LangSectionIndex& index);
  bool ReadIndexedSection(CLangFile& oFile, const LangSectionIndex& index, const std::u16string& sFilename,
                          const std::u16string& sSection, TextCollection& colValues, const std::u16string& sPrefix,
                          TextCollection* colNames);
  /// Scratch room of a section read for an entry's folded key and value, kept
  /// from line to line so that reading an entry allocates nothing of its own.
  struct EntryBuffers {
    std::u16string sKey;
    std::u16string sValue;
  };
  /// The problems that one load (an Init, a ReadSection) finds in the file's
  /// lines: the first nLoadProblemsOneByOne are reported one by one, the rest
  /// counted in one report when the load ends, so that a file of broken lines
  /// cannot flood the log or hold up the start. The checking tool lifts the cap.
  static constexpr int32_t kLoadProblemsOneByOne = 100;
  int32_t nLoadProblemsOneByOne = kLoadProblemsOneByOne;
  /// Opens a load's count for its lifetime (nested loads share the outer one)
  /// and reports what was not reported one by one when the outermost ends.
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
  /// One entry line of a section being read (sLine stripped, not a comment).
  void ReadEntry(std::u16string_view sLine, int32_t nLine, const std::u16string& sFilename, TextCollection& colValues,
                 const std::u16string& sFoldedPrefix, TextCollection* colNames, EntryBuffers& buffers);
  /// Creation and release.
  void Class_Initialize();
  void Class_Terminate();
  /// Checks and removes the enclosing quotes of sText, undoubling inner ones;
  /// on failure sError says why and sText is left unusable.
  bool Unquote(std::u16string& sText, std::u16string& sError);
  /// The text without leading and trailing spaces and tabs.
  std::u16string TrimBlanks(std::u16string_view sText);
  /// A value part cut before its comment (";" or "'" outside double quotes).
  std::u16string StripComment(std::u16string_view sText);

  /// Writes the whole dump file of the container sName.
  void DumpControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                    const platform::ControlsRef& oControls);
  /// Writes the block of one object under its dump name; pictures go to sPictureFolder.
  void DumpControl(const platform::FormObjectRef& oControl, const std::u16string& sName, platform::FileHandle hFile,
                   const std::u16string& sPictureFolder);
  /// Applies the section sName to the container and its controls.
  void LocalizeControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                        const platform::ControlsRef& oControls);
  // A control that a form section changed, under its key's control part.
  struct ChangedControl {
    std::u16string sName;
    platform::FormObjectRef oControl;
  };
  // Measures the caption of each changed control and reports those that do not fit.
  void CheckFit(const std::u16string& sName, const std::vector<ChangedControl>& changed);
  bool FitCheckOn() const { return nCheckFit != 0 || fitCheck.bOn; }

  /// Fields, in their order.
  TextCollectionRef colTexts;
  FormCollectionRef colForms;
  std::u16string sFilename;
  std::u16string sLangID;
  std::u16string sLangName;
  std::u16string sMainSection;
  base::Date dtFileTime;
  int32_t nDumpForms = 0;
  // The language file's own fit check (main section, "checkfit"), and the caller's.
  int32_t nCheckFit = 0;
  LangFitCheck fitCheck;
  // The plural rule of the loaded file; none for English.
  std::unique_ptr<PluralRule> pPluralRule;
  // The loaded language is written right to left.
  bool bRightToLeft = false;
};

}  // namespace twinsweep
