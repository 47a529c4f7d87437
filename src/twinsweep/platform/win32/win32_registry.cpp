// The Windows registry through its wide functions. Root keys arrive as the
// sign-extended predefined handles and are passed through unchanged.
#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/registry.h"

namespace twinsweep {

namespace platform {
namespace {

HKEY H(HKey h) { return reinterpret_cast<HKEY>(h); }

class Win32Registry : public IRegistry {
 public:
  int32_t OpenKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) override {
    *phKey = 0;
    const auto path = win32::Wide(sPath);
    if (!path) return win32::kRefusedName;
    HKEY h = nullptr;
    LONG rc = RegOpenKeyExW(H(hRoot), path->c_str(), 0, nAccess, &h);
    *phKey = rc == ERROR_SUCCESS ? reinterpret_cast<HKey>(h) : 0;
    return rc;
  }
  int32_t CreateKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) override {
    *phKey = 0;
    const auto path = win32::Wide(sPath);
    if (!path) return win32::kRefusedName;
    HKEY h = nullptr;
    LONG rc =
        RegCreateKeyExW(H(hRoot), path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, nAccess, nullptr, &h, nullptr);
    *phKey = rc == ERROR_SUCCESS ? reinterpret_cast<HKey>(h) : 0;
    return rc;
  }
  int32_t CloseKey(HKey hKey) override { return RegCloseKey(H(hKey)); }
  int32_t SetValue(HKey hKey, std::u16string_view sName, uint32_t nType, const uint8_t* pData,
                   uint32_t nSize) override {
    const auto name = win32::Wide(sName);
    if (!name) return win32::kRefusedName;
    return RegSetValueExW(H(hKey), name->c_str(), 0, nType, pData, nSize);
  }
  int32_t QueryValue(HKey hKey, std::u16string_view sName, uint32_t* pnType, uint8_t* pData,
                     uint32_t* pnSize) override {
    const auto name = win32::Wide(sName);
    if (!name) return win32::kRefusedName;
    DWORD type = 0, size = pnSize ? *pnSize : 0;
    LONG rc = RegQueryValueExW(H(hKey), name->c_str(), nullptr, &type, pData, pnSize ? &size : nullptr);
    if (pnType && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *pnType = type;
    if (pnSize && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *pnSize = size;
    return rc;
  }
  int32_t DeleteValue(HKey hKey, std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    return name ? RegDeleteValueW(H(hKey), name->c_str()) : win32::kRefusedName;
  }
  int32_t DeleteKey(HKey hKey, std::u16string_view sSubKey) override {
    const auto subKey = win32::Wide(sSubKey);
    return subKey ? RegDeleteKeyW(H(hKey), subKey->c_str()) : win32::kRefusedName;
  }
  int32_t FlushKey(HKey hKey) override { return RegFlushKey(H(hKey)); }
  int32_t EnumValue(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) override {
    DWORD len = *pnNameLen;
    LONG rc =
        RegEnumValueW(H(hKey), nIndex, reinterpret_cast<wchar_t*>(pName), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) *pnNameLen = len;
    return rc;
  }
  int32_t EnumKey(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) override {
    DWORD len = *pnNameLen;
    LONG rc =
        RegEnumKeyExW(H(hKey), nIndex, reinterpret_cast<wchar_t*>(pName), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) *pnNameLen = len;
    return rc;
  }
};

}  // namespace

template <>
IRegistry& Default<IRegistry>() {
  return StaticInstance<Win32Registry>();
}

}  // namespace platform

}  // namespace twinsweep
