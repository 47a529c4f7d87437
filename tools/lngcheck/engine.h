#pragma once
// Every call of the tool into the localization engine. The language is loaded from
// the bytes the tool read, as the program loads a file (InitFromMemory, whose
// reports are collected), and its sections are then read one by one, quietly, for
// the comparisons: from one index of those bytes, as Init reads them, so that a
// check takes time in proportion to the file.
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "twinsweep/base/error_log.h"

using namespace twinsweep;

namespace lngcheck {

struct LoadedSection {
  std::u16string sName;  // the sub-section's name as the main section lists it
  bool bForm = false;    // listed under "forms" rather than "globals"
  bool bRead = false;    // the file has it and it reads without a fatal fault
  // Keys (lower-cased, as the engine stores them) and texts, in file order.
  std::vector<std::pair<std::u16string, std::u16string>> entries;
  std::unordered_map<std::u16string, size_t> index;  // folded key -> position in entries

  const std::u16string* Find(const std::u16string& sFoldedKey) const;
};

struct LoadedLanguage {
  bool bLoaded = false;                  // Init succeeded
  std::vector<mMain::LogEntry> reports;  // what Init reported, in order
  bool bHasVersion = false;
  std::u16string sLangID, sLang;  // of the version section, even when Init failed
  std::u16string sPlural;         // its plural rule, empty when it has none
  bool bHasMain = false;
  std::vector<LoadedSection> sections;  // as the main section lists them, globals first
};

// Loads the bytes the tool has read of sPath as the program loads that file.
LoadedLanguage LoadLanguage(const std::u16string& sPath, std::string_view bytes, const std::u16string& sMainSection);

}  // namespace lngcheck
