#include "support/registry.h"

#include <stdexcept>
#include <string>

#include "support/win32_handle.h"

namespace e2e {

namespace {

[[noreturn]] void Fail(const char* szWhat, LSTATUS nStatus, const std::wstring& sKey) {
  throw std::runtime_error(std::string(szWhat) + " failed (" + std::to_string(nStatus) + ") for " +
                           std::string(sKey.begin(), sKey.end()));
}

OwnedKey CreateKey(HKEY hRoot, const std::wstring& sKey, REGSAM nView = 0) {
  OwnedKey key;
  LSTATUS n = RegCreateKeyExW(hRoot, sKey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | nView, nullptr,
                              key.Receive(), nullptr);
  if (n != ERROR_SUCCESS) Fail("RegCreateKeyExW", n, sKey);
  return key;
}

const wchar_t* ValueName(const std::wstring& sName) { return sName.empty() ? nullptr : sName.c_str(); }

// REG_SZ with its terminating NUL counted, as the system's own writers store it.
std::vector<BYTE> StringBytes(const std::wstring& sValue) {
  const BYTE* p = reinterpret_cast<const BYTE*>(sValue.c_str());
  return std::vector<BYTE>(p, p + (sValue.size() + 1) * sizeof(wchar_t));
}

}  // namespace

ScopedRegistryValue::ScopedRegistryValue(HKEY hRoot, std::wstring sKey, std::wstring sName,
                                         std::optional<std::wstring> vValue, REGSAM nView)
    : hRoot_(hRoot), nView_(nView), sKey_(std::move(sKey)), sName_(std::move(sName)) {
  if (vValue) {
    Put(REG_SZ, StringBytes(*vValue));
  } else {
    Put(REG_NONE, std::nullopt);
  }
}

ScopedRegistryValue::ScopedRegistryValue(HKEY hRoot, std::wstring sKey, std::wstring sName, DWORD nType,
                                         std::vector<BYTE> data)
    : hRoot_(hRoot), sKey_(std::move(sKey)), sName_(std::move(sName)) {
  Put(nType, std::move(data));
}

void ScopedRegistryValue::Put(DWORD nType, std::optional<std::vector<BYTE>> vData) {
  OwnedKey key = CreateKey(hRoot_, sKey_, nView_);
  DWORD nSize = 0;
  if (RegQueryValueExW(key.Get(), ValueName(sName_), nullptr, &nType_, nullptr, &nSize) == ERROR_SUCCESS) {
    previous_.resize(nSize);
    if (RegQueryValueExW(key.Get(), ValueName(sName_), nullptr, &nType_, previous_.data(), &nSize) == ERROR_SUCCESS) {
      previous_.resize(nSize);
      bExisted_ = true;
    }
  }
  LSTATUS n = ERROR_SUCCESS;
  if (vData) {
    n = RegSetValueExW(key.Get(), ValueName(sName_), 0, nType, vData->data(), static_cast<DWORD>(vData->size()));
  } else if (bExisted_) {
    n = RegDeleteValueW(key.Get(), ValueName(sName_));
  }
  key.Reset();
  if (n != ERROR_SUCCESS) Fail("setting a registry value", n, sKey_);
}

ScopedRegistryValue::~ScopedRegistryValue() {
  OwnedKey key;
  if (RegOpenKeyExW(hRoot_, sKey_.c_str(), 0, KEY_WRITE | nView_, key.Receive()) != ERROR_SUCCESS) return;
  if (bExisted_) {
    RegSetValueExW(key.Get(), ValueName(sName_), 0, nType_, previous_.data(), static_cast<DWORD>(previous_.size()));
  } else {
    RegDeleteValueW(key.Get(), ValueName(sName_));
  }
}

void WriteRegistryString(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName, const std::wstring& sValue) {
  OwnedKey key = CreateKey(hRoot, sKey);
  const std::vector<BYTE> data = StringBytes(sValue);
  LSTATUS n = RegSetValueExW(key.Get(), ValueName(sName), 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
  key.Reset();
  if (n != ERROR_SUCCESS) Fail("RegSetValueExW", n, sKey);
}

void DeleteRegistryValue(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName) {
  OwnedKey key;
  if (RegOpenKeyExW(hRoot, sKey.c_str(), 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return;
  RegDeleteValueW(key.Get(), ValueName(sName));
}

std::optional<std::wstring> ReadRegistryString(HKEY hRoot, const std::wstring& sKey, const std::wstring& sName) {
  OwnedKey key;
  if (RegOpenKeyExW(hRoot, sKey.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return std::nullopt;
  DWORD nType = 0, nSize = 0;
  std::optional<std::wstring> vResult;
  if (RegQueryValueExW(key.Get(), ValueName(sName), nullptr, &nType, nullptr, &nSize) == ERROR_SUCCESS &&
      (nType == REG_SZ || nType == REG_EXPAND_SZ)) {
    std::wstring s(nSize / sizeof(wchar_t) + 1, L'\0');
    DWORD nBytes = static_cast<DWORD>(s.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), ValueName(sName), nullptr, &nType, reinterpret_cast<BYTE*>(&s[0]), &nBytes) ==
        ERROR_SUCCESS) {
      s.resize(nBytes / sizeof(wchar_t));
      while (!s.empty() && s.back() == L'\0') s.pop_back();
      vResult = s;
    }
  }
  return vResult;
}

}  // namespace e2e
