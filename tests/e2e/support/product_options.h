#pragma once
// The product's options in the registry, set for one scenario: "LANG" and "LANG_"
// under Software\Orvex\Twinsweep, in the user's scope as given and absent from the
// machine's scope, and no language policy in either scope, so that no fallback or
// policy of an earlier run takes part. Everything is restored when the object goes
// away.
#include <windows.h>

#include <optional>
#include <string>

#include "support/registry.h"

namespace e2e {

constexpr wchar_t kOptionsKey[] = L"Software\\Orvex\\Twinsweep";
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Orvex\\Twinsweep";

class ScopedProductOptions {
 public:
  // nullopt leaves the user's value absent.
  ScopedProductOptions(std::optional<std::wstring> vLangId, std::optional<std::wstring> vLangFile);

  // The user's "LANG" as the registry holds it now.
  static std::optional<std::wstring> UserLangId();

 private:
  ScopedRegistryValue userLang_;
  ScopedRegistryValue userLangFile_;
  ScopedRegistryValue machineLang_;
  ScopedRegistryValue machineLangFile_;
  ScopedRegistryValue machinePolicyLang_;
  ScopedRegistryValue userPolicyLang_;
};

}  // namespace e2e
