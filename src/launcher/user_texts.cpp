#include "launcher/user_texts.h"

#include "lang/lang.h"

namespace mMain {

UserTexts::UserTexts() : pLang_(std::make_unique<CLang>()) { pLang_->InitEx(u"TwinsweepLauncher"); }

UserTexts::~UserTexts() = default;

std::u16string UserTexts::Item(const std::u16string& sKey, const base::VariantList& params) const {
  return pLang_->Item(sKey, params);
}

}  // namespace mMain
