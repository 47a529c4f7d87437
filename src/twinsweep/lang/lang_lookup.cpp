// CLang: the public text operations. A missing text never fails the caller: it
// is reported and the key itself stands in for it.
#include <optional>
#include <string_view>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/convert.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/plural_rule.h"
#include "twinsweep/base/error_log.h"

namespace twinsweep {

std::u16string CLang::Item(const std::u16string& Key, const base::VariantList& sprintf_params) {
  std::optional<std::u16string_view> pText;
  base::Ignore([&] {
    if (colTexts) pText = colTexts->Find(Key);
  });
  return FormatFound(Key, Key, pText, sprintf_params);
}

std::u16string CLang::Item(const std::u16string& Key) { return Item(Key, base::VariantList{}); }

std::u16string CLang::ItemPlural(const std::u16string& Key, int64_t n, const base::VariantList& sprintf_params) {
  const uint64_t nCount = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  const int32_t nForm = pPluralRule ? pPluralRule->FormFor(nCount) : (nCount == 1 ? 0 : 1);
  // Keys are stored folded: the form's key is folded once, into one buffer,
  // and looked up as it is.
  std::u16string sFolded;
  sFolded.reserve(Key.size() + 4);
  for (char16_t c : Key) sFolded += base::ToLowerChar(c);
  const size_t nBase = sFolded.size();
  auto formKey = [&](int32_t k) -> const std::u16string& {
    sFolded.resize(nBase);
    sFolded += u'[';
    if (k >= 10) sFolded += static_cast<char16_t>(u'0' + k / 10);
    sFolded += static_cast<char16_t>(u'0' + k % 10);
    sFolded += u']';
    return sFolded;
  };
  std::optional<std::u16string_view> pText;
  base::Ignore([&] {
    if (colTexts) pText = colTexts->FindFolded(formKey(nForm));
  });
  if (!pText && nForm != 0) {
    mMain::LogError(
        u"CLang.ItemPlural", 0,
        u"Key '" + Key + u"[" + base::LongToText(nForm) + u"]' not exists in " + sFilename + u"; form 0 is used");
    base::Ignore([&] {
      if (colTexts) pText = colTexts->FindFolded(formKey(0));
    });
  }
  return FormatFound(Key, pText ? Key : Key + u"[0]", pText, sprintf_params);
}

std::u16string CLang::ItemPlural(const std::u16string& Key, int64_t n) {
  return ItemPlural(Key, n, base::VariantList{});
}

std::u16string CLang::FormatFound(const std::u16string& Key, const std::u16string& sReportKey,
                                  std::optional<std::u16string_view> pText, const base::VariantList& sprintf_params) {
  std::u16string sWorking;
  if (pText) {
    sWorking = *pText;
  } else {
    mMain::LogError(u"CLang.Item", 0, u"Key '" + sReportKey + u"' not exists in " + sFilename);
    sWorking = Key;
  }
  if (sprintf_params.empty()) return sprintf2(sWorking);
  // sprintf1 unpacks a single list again, so the escapes are resolved once.
  return sprintf1(sWorking, base::VariantList{base::Variant(sprintf_params)}, bRightToLeft);
}

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
