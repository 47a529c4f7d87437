#pragma once
// Registry set-up for scenarios, in the real registry of the system (under Wine the
// test prefix's). A ScopedRegistryValue puts one value in place, or removes it, and
// restores exactly what was there before (type and bytes, or absence) when it goes.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class ScopedRegistryValue {
 public:
  // sName empty is the key's default value; vValue nullopt removes the value.
  // The key is created when it is missing (and left in place afterwards). nView
  // names the registry view (KEY_WOW64_32KEY for the one 32-bit programs see).
  ScopedRegistryValue(HKEY hRoot, std::wstring sKey, std::wstring sName, std::optional<std::wstring> vValue,
                      REGSAM nView = 0);
  // A value of any type, its data given as bytes.
  ScopedRegistryValue(HKEY hRoot, std::wstring sKey, std::wstring sName, DWORD nType, std::vector<BYTE> data);
  ~ScopedRegistryValue();
  ScopedRegistryValue(const ScopedRegistryValue&) = delete;
  ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

 private:
  // Remembers the value as it is, then writes vData (nullopt: removes the value).
  void Put(DWORD nType, std::optional<std::vector<BYTE>> vData);

  HKEY hRoot_;
  REGSAM nView_ = 0;
  std::wstring sKey_;
  std::wstring sName_;
  bool bExisted_ = false;
  DWORD nType_ = REG_NONE;
  std::vector<BYTE> previous_;
};

// Writes a REG_SZ value (sName empty: the default value), creating the key; throws on failure.
void WriteRegistryString(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName, const std::wstring& sValue);
// Removes a value; a missing key or value is not an error.
void DeleteRegistryValue(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName);
// The value as a string when it is REG_SZ or REG_EXPAND_SZ; nullopt when missing or of another type.
std::optional<std::wstring> ReadRegistryString(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName);

}  // namespace e2e
