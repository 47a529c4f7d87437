#include "support/product_options.h"

namespace e2e {

ScopedProductOptions::ScopedProductOptions(std::optional<std::wstring> vLangId,
                                           std::optional<std::wstring> vLangFile)
    : userLang_(HKEY_CURRENT_USER, kOptionsKey, L"LANG", std::move(vLangId)),
      userLangFile_(HKEY_CURRENT_USER, kOptionsKey, L"LANG_", std::move(vLangFile)),
      machineLang_(HKEY_LOCAL_MACHINE, kOptionsKey, L"LANG", std::nullopt),
      machineLangFile_(HKEY_LOCAL_MACHINE, kOptionsKey, L"LANG_", std::nullopt),
      machinePolicyLang_(HKEY_LOCAL_MACHINE, kPolicyKey, L"LANG", std::nullopt),
      userPolicyLang_(HKEY_CURRENT_USER, kPolicyKey, L"LANG", std::nullopt) {}

std::optional<std::wstring> ScopedProductOptions::UserLangId() {
  return ReadRegistryString(HKEY_CURRENT_USER, kOptionsKey, L"LANG");
}

}  // namespace e2e
