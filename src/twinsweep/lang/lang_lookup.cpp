// CLang: the public text operations. A missing text never fails the caller: it
// is reported and the key itself stands in for it.
#include <optional>
#include <string_view>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/base/error_log.h"

namespace twinsweep {

std::u16string CLang::Item(const std::u16string& Key, const base::VariantList& sprintf_params) {
  std::u16string sWorking;
  std::optional<std::u16string_view> pText;
  base::Ignore([&] {
    if (colTexts) pText = colTexts->Find(Key);
  });
  if (pText) {
    sWorking = *pText;
  } else {
    mMain::LogError(u"CLang.Item", 0, u"Key '" + Key + u"' not exists in " + sFilename);
    sWorking = Key;
  }
  if (sprintf_params.empty()) return sprintf2(sWorking);
  // sprintf1 unpacks a single list again, so the escapes are resolved once.
  return sprintf1(sWorking, base::VariantList{base::Variant(sprintf_params)});
}

std::u16string CLang::Item(const std::u16string& Key) { return Item(Key, base::VariantList{}); }

bool CLang::ItemFind(const std::u16string& sKey) {
  bool bFound = false;
  base::Ignore([&] { bFound = colTexts && colTexts->Find(sKey).has_value(); });
  return bFound;
}

void CLang::ItemSet(const std::u16string& sKey, const std::u16string& sItem) {
  // The old text goes and the new one comes last, in one step of the collection.
  base::Ignore([&] { base::Deref(colTexts).ReplaceFolded(sItem, base::LCase(sKey)); });
}

}  // namespace twinsweep
