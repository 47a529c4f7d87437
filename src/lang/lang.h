#pragma once
// CLang: one loaded language of the product.
//
// The object owns its collections: colTexts holds every text of the loaded
// language under its lower-cased key (form texts under form name & key), as the
// file states it (quotes undone, escapes unresolved); colForms holds, for each
// global or form sub-section, its keys in file order. After a successful Init all
// fields describe one file; after Clear or a failed Init both collections are none
// and the strings empty. No member lets a failure reach its caller: problems are
// reported to the error log and a usable result is returned.
//
// Members are declared in the order of the class's slots. The public members come
// first; the members for use inside the engine follow, protected, so that the
// engine's member files (loading, parsing, formatting, lookup, localization, dump)
// share them and tests can reach them through a derived class.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/collection.h"
#include "base/date.h"
#include "base/variant.h"
#include "platform/files.h"
#include "platform/forms.h"

class CLang {
 public:
  using TextCollection = base::Collection<std::u16string>;
  using TextCollectionRef = base::CollectionRef<std::u16string>;
  using FormCollectionRef = base::CollectionRef<TextCollectionRef>;

  CLang();   // runs Class_Initialize
  ~CLang();  // runs Class_Terminate
  CLang(const CLang&) = delete;
  CLang& operator=(const CLang&) = delete;

  // 1. The text under Key (any case), escapes resolved; with parameters, their
  // placeholders filled. A missing key is reported and the key itself is used.
  std::u16string Item(const std::u16string& Key, const base::VariantList& sprintf_params);
  std::u16string Item(const std::u16string& Key);
  // 2-4. Read-only properties of the loaded file.
  std::u16string Filename() const;
  std::u16string LangID() const;
  std::u16string LangName() const;

  // 5. Applies the loaded language's section for the form (dumping it first when
  // the language asks for dumps); reloads the file first when it changed on disk.
  void LocalizeForm(const platform::FormObjectRef& oFrm);
  // 6. The same for a user control whose section is stored under sName.
  void LocalizeUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                           const platform::ControlsRef& oUserControl_Controls);
  // 7-8. Write the designed texts (and, in mode 1, geometry and pictures) of a form
  // or user control to Dump\<name>.txt under the application's folder.
  void DumpForm(const platform::FormObjectRef& oFrm);
  void DumpUserControl(const std::u16string& sName, const platform::FormObjectRef& oUserControl,
                       const platform::ControlsRef& oUserControl_Controls);

  // 9. Chooses the user's language file in the application's folder and loads it.
  bool InitEx(const std::u16string& sMainSection);
  // 10. Loads the file sFilename (full path) for the main section sMainSection.
  bool Init(const std::u16string& sFilename, const std::u16string& sMainSection);
  // 11. The valid language files of strFolder: "langid" CR LF "lang" CR LF "name.ext".
  TextCollectionRef GetAvailableLangs(const std::u16string& strFolder, const std::u16string& sIgnoreNameExt);
  // 12-13. Test and in-memory replacement of one text.
  bool ItemFind(const std::u16string& sKey);
  void ItemSet(const std::u16string& sKey, const std::u16string& sItem);

 protected:
  // 14. Forgets the loaded language.
  void Clear();
  // 15. One section's entries (keys lower-cased), or none when it cannot be read.
  TextCollectionRef GetSection(const std::u16string& sFilename, const std::u16string& sSection);
  // 16. Reads the section sSection of sFilename: each entry's text into colValues
  // under lower-case(sPrefix & key), and, when colNames is given, the lower-cased
  // key under the key as written. True when the section was found and read to its end.
  bool ReadSection(const std::u16string& sFilename, const std::u16string& sSection, TextCollection& colValues,
                   const std::u16string& sPrefix, TextCollection* colNames);
  // 17-18. Creation and release.
  void Class_Initialize();
  void Class_Terminate();
  // 19. Checks and removes the enclosing quotes of sText, undoubling inner ones;
  // on failure sError says why and sText is left unusable.
  bool Unquote(std::u16string& sText, std::u16string& sError);
  // 20. The text without leading and trailing spaces and tabs.
  std::u16string TrimBlanks(std::u16string_view sText);
  // 21. A value part cut before its comment (";" or "'" outside double quotes).
  std::u16string StripComment(std::u16string_view sText);

  // 22. Writes the whole dump file of the container sName.
  void DumpControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                    const platform::ControlsRef& oControls);
  // 23. Writes the block of one object under its dump name; pictures go to sPictureFolder.
  void DumpControl(const platform::FormObjectRef& oControl, const std::u16string& sName, platform::FileHandle hFile,
                   const std::u16string& sPictureFolder);
  // 24. A text made fit for a quoted value: \\, \n for CR LF, \t, doubled quotes.
  std::u16string EscapeValue(std::u16string_view sValue);
  // 25. Tabs inserted before the first "=" so that it stands at column 8 * nTabs.
  std::u16string TabAlign(std::u16string_view sLine, int32_t nTabs);
  // 26. Applies the section sName to the container and its controls.
  void LocalizeControls(const std::u16string& sName, const platform::FormObjectRef& oContainer,
                        const platform::ControlsRef& oControls);

  // 27. Position (from 1) of the first of sChars in sText at or after nStart; 0 when none.
  int32_t InStrAny(std::u16string_view sText, std::u16string_view sChars, int32_t nStart);
  // 28. Escapes resolved, then "%s", "%d" and "%%" filled from sprintf_params.
  std::u16string sprintf1(std::u16string_view sFormat, const base::VariantList& sprintf_params);
  // 29. Backslash escapes resolved: "\\", "\n", "\t" and a backslash before a quote.
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
