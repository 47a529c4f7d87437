#pragma once
// Where the product's Group Policy template (generated/policy/TwinsweepLauncher.admx) tells the
// policy tools to write each setting, read out of the template itself rather than
// repeated here: a scenario that writes there and sees the program obey shows that
// the program and the template agree.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct PolicyPlace {
  // From the policy's class: HKEY_LOCAL_MACHINE for "Machine", HKEY_CURRENT_USER
  // for "User", both (the machine first) for "Both".
  std::vector<HKEY> roots;
  std::wstring sKey;
  // The value of the policy's element (its setting) when it has one, else the
  // value of the policy's own state.
  std::wstring sValueName;
  // The DWORDs written for Enabled and Disabled, when the template gives them.
  std::optional<DWORD> vEnabled, vDisabled;
};

// The policy named sName (its name attribute) of the template of the build tree;
// throws std::runtime_error when the template cannot be read or lacks that policy,
// a class, a key or a value name.
PolicyPlace ReadPolicyPlace(const std::string& sName);

}  // namespace e2e
