#pragma once
// UserTexts: the launcher's texts for the user, in the user's language.
//
// The object loads the user's language for the launcher's section when it is
// made and answers its texts by key; like the language object it never lets a
// failure reach its caller.
#include <memory>
#include <string>

#include "base/variant.h"

class CLang;

namespace mMain {

class UserTexts {
 public:
  UserTexts();
  ~UserTexts();
  UserTexts(const UserTexts&) = delete;
  UserTexts& operator=(const UserTexts&) = delete;
  std::u16string Item(const std::u16string& sKey, const base::VariantList& params = {}) const;

 private:
  std::unique_ptr<CLang> pLang_;
};

}  // namespace mMain
