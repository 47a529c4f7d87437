#pragma once
// The registry, in the vocabulary of the Windows registry functions (wide forms).
//
// Keys are handles; the three root keys are the predefined handles, whose 32-bit
// values are sign-extended to the pointer-sized handle as Windows does. Every
// call answers a Windows status code: 0 success, 2 missing key or value, 5 access
// refused (a write through a read-only handle, deleting a key with subkeys),
// 6 bad handle, 234 buffer too small, 259 end of an enumeration. A key path or
// value name with an inner NUL names nothing (2).
// String data (REG_SZ, REG_EXPAND_SZ) is UTF-16LE bytes, normally with a
// terminating NUL that the size counts.
#include <cstdint>
#include <string_view>

#include "twinsweep/platform/services.h"
#include "twinsweep/platform/win_status.h"

namespace twinsweep {

namespace platform {

using HKey = std::intptr_t;

constexpr int32_t kRootClassesRoot = static_cast<int32_t>(0x80000000u);
constexpr int32_t kRootCurrentUser = static_cast<int32_t>(0x80000001u);
constexpr int32_t kRootLocalMachine = static_cast<int32_t>(0x80000002u);
// The handle of a root key given by its 32-bit value.
constexpr HKey RootKey(int32_t nRoot) { return static_cast<HKey>(nRoot); }

constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyAllAccess = 0xF003F;
// Added to an access mask at opening, these name the registry view of a 64-bit
// system: KEY_WOW64_64KEY the native one, KEY_WOW64_32KEY the one that 32-bit
// programs see (their installers write HKLM\Software and their classes there).
constexpr uint32_t kKeyWow64_64Key = 0x0100;
constexpr uint32_t kKeyWow64_32Key = 0x0200;

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // RegOpenKeyExW: opens an existing key with the access mask.
  [[nodiscard]] virtual int32_t OpenKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) = 0;
  // RegCreateKeyExW: opens the key, creating every missing level.
  [[nodiscard]] virtual int32_t CreateKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) = 0;
  virtual int32_t CloseKey(HKey hKey) = 0;
  // RegSetValueExW: an empty name is the key's default value.
  virtual int32_t SetValue(HKey hKey, std::u16string_view sName, uint32_t nType, const uint8_t* pData,
                           uint32_t nSize) = 0;
  // RegQueryValueExW: pnType may be null; with pData null only type and size are
  // reported. *pnSize is the buffer size in, the data size out; 234 when the buffer
  // is too small (the size then tells the room needed).
  virtual int32_t QueryValue(HKey hKey, std::u16string_view sName, uint32_t* pnType, uint8_t* pData,
                             uint32_t* pnSize) = 0;
  virtual int32_t DeleteValue(HKey hKey, std::u16string_view sName) = 0;
  // RegDeleteKeyW: refuses (5) a key that still has subkeys.
  virtual int32_t DeleteKey(HKey hKey, std::u16string_view sSubKey) = 0;
  virtual int32_t FlushKey(HKey hKey) = 0;
  // RegEnumValueW / RegEnumKeyExW: *pnNameLen is the capacity of pName in
  // characters (with room for the NUL) in, and the name's length out. 259 past the
  // last one; 234 when the name does not fit.
  virtual int32_t EnumValue(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) = 0;
  virtual int32_t EnumKey(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) = 0;
};

template <>
IRegistry& Default<IRegistry>();
inline IRegistry& Registry() { return Get<IRegistry>(); }

}  // namespace platform

}  // namespace twinsweep
