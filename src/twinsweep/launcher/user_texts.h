#pragma once
// UserTexts: the texts the launcher shows the user, always in words.
//
// Owns one language object for its lifetime. The user's language is loaded as
// the engine chooses it (CLang::InitEx); when that fails, the first language file
// of the program's folder whose langid equals LANG without regard to case, then
// the file whose langid is EN, then the English texts built into the program.
// None of these fallbacks writes LANG or LANG_; each is a debug note. Item then
// never answers a bare key for a text the English file has.
#include <string>

#include "twinsweep/base/variant.h"
#include "twinsweep/lang/lang.h"

namespace twinsweep {

namespace mMain {

// The main section of the launcher's language files.
constexpr char16_t kLauncherSection[] = u"TwinsweepLauncher";
// The first string ID of the built-in English texts: the lines of the section
// [TwinsweepLauncher.texts] of languages/EN.lng, one a string, up to the first
// missing ID (cmake/builtin_texts.cmake writes them).
constexpr uint32_t kBuiltInTextsFirstId = TWINSWEEP_BUILTIN_TEXTS_FIRST_ID;

class UserTexts {
 public:
  UserTexts();
  UserTexts(const UserTexts&) = delete;
  UserTexts& operator=(const UserTexts&) = delete;

  // The text under sKey, escapes resolved and placeholders filled from params.
  std::u16string Item(const std::u16string& sKey, const base::VariantList& params = {}) const;
  // What a message box in this language adds to its type: right-to-left reading
  // for Arabic or Hebrew (CLang::BoxFlags), else nothing.
  uint32_t BoxFlags() const { return oLang_.BoxFlags(); }

 private:
  mutable CLang oLang_;
};

// The built-in English texts as the bytes of a language file of their own.
std::string BuiltInLanguageFile();

}  // namespace mMain

}  // namespace twinsweep
