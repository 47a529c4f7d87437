#include "engine.h"

#include <cstdint>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/lang/lang_file.h"
#include "twinsweep/lang/lang_internals.h"
#include "twinsweep/lang/lang_section_index.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

// The engine's one-pass reading, which the tool needs to read the sections one
// by one after the load: the bytes are indexed once and every section is read
// from that index, as Init reads them, so a check stays linear in the file.
class SectionReader : public CLangInternals {
 public:
  // A translator needs every problem, not the program's first hundred.
  SectionReader() { nLoadProblemsOneByOne = INT32_MAX; }
};

// Installs an observer for its lifetime and restores the previous one.
class ScopedObserver {
 public:
  explicit ScopedObserver(mMain::LogObserver observer) : previous_(mMain::SetLogObserver(std::move(observer))) {}
  ~ScopedObserver() { mMain::SetLogObserver(std::move(previous_)); }
  ScopedObserver(const ScopedObserver&) = delete;
  ScopedObserver& operator=(const ScopedObserver&) = delete;

 private:
  mMain::LogObserver previous_;
};

std::u16string ValueOf(const CLang::TextCollectionRef& col, const std::u16string& sKey) {
  const auto p = col ? col->Find(sKey) : std::nullopt;
  return p ? std::u16string(*p) : std::u16string();
}

}  // namespace

const std::u16string* LoadedSection::Find(const std::u16string& sFoldedKey) const {
  auto it = index.find(sFoldedKey);
  return it == index.end() ? nullptr : &entries[it->second].second;
}

LoadedLanguage LoadLanguage(const std::u16string& sPath, std::string_view bytes, const std::u16string& sMainSection) {
  LoadedLanguage lang;
  SectionReader oLang;
  {
    ScopedObserver capture([&](const mMain::LogEntry& e) { lang.reports.push_back(e); });
    lang.bLoaded = oLang.InitFromMemory(sPath, bytes, sMainSection);
  }
  // Init has said all there is to say; the reads below repeat its reports.
  ScopedObserver mute([](const mMain::LogEntry&) {});
  CLangFile oFile;
  if (!oLang.OpenLanguageFile(oFile, sPath, &bytes)) return lang;
  LangSectionIndex index;
  oLang.IndexSections(oFile, sPath, index);
  auto getSection = [&](const std::u16string& sSection) {
    CLang::TextCollectionRef col = base::NewCollection<std::u16string>();
    if (!oLang.ReadIndexedSection(oFile, index, sPath, sSection, *col, std::u16string(), nullptr)) col.reset();
    return col;
  };
  CLang::TextCollectionRef colVersion = getSection(u"version");
  lang.bHasVersion = colVersion != nullptr;
  lang.sLangID = ValueOf(colVersion, u"langid");
  lang.sLang = ValueOf(colVersion, u"lang");
  lang.sPlural = ValueOf(colVersion, u"plural");
  CLang::TextCollectionRef colMain = getSection(sMainSection);
  lang.bHasMain = colMain != nullptr;
  for (bool bForms : {false, true}) {
    for (const std::u16string& sPiece : base::Split(ValueOf(colMain, bForms ? u"forms" : u"globals"), u",")) {
      LoadedSection section;
      section.sName = std::u16string(TrimBlanksView(sPiece));
      if (section.sName.empty()) continue;
      section.bForm = bForms;
      CLang::TextCollectionRef col = getSection(sMainSection + u"." + section.sName);
      section.bRead = col != nullptr;
      if (col) {
        for (const auto& e : *col) {
          section.index.emplace(e.foldedKey.value_or(u""), section.entries.size());
          section.entries.emplace_back(e.foldedKey.value_or(u""), e.item);
        }
      }
      lang.sections.push_back(std::move(section));
    }
  }
  return lang;
}

}  // namespace lngcheck
