#pragma once
// CWinReg: one open registry key, read and written through the registry service.
//
// Owns: at most one key handle (hKey; none when no open succeeded). CloseKey
// closes it, an open of the object closes a key it still held before taking the
// new one, and the object closes it when it goes. The root, path and access of
// the open key are not kept.
//
// Failures: no member raises. A failure comes back as false, an empty string or
// the caller's default (ReadDWord without a key: 0); QueryValueInfo alone answers
// the system's status code (-1 without a key). An open that fails leaves the
// object holding no key; the value members then fail without calling the system.
// Out-parameters: QueryValueInfo sets nType and nSize to 0 first and fills them
// only when the value exists; ReadBinary leaves abData as it was unless the value
// has data, and then replaces it, even when reading the data then fails.
//
//   CWinReg oReg;
//   if (oReg.InitForRead(oReg.HKEY_CURRENT_USER(), u"Software\\Orvex\\Twinsweep")) {
//     std::u16string sLang = oReg.ReadString(u"LANG");   // empty when missing
//     oReg.CloseKey();                                    // or left to the object
//   }
#include <cstdint>
#include <string>
#include <vector>

#include "twinsweep/base/date.h"
#include "twinsweep/platform/registry.h"
#include "twinsweep/platform/scoped_handle.h"

namespace twinsweep {

class CWinReg {
 public:
  CWinReg() = default;
  CWinReg(const CWinReg&) = delete;
  CWinReg& operator=(const CWinReg&) = delete;

  int32_t HKEY_CLASSES_ROOT() const { return platform::kRootClassesRoot; }
  int32_t HKEY_CURRENT_USER() const { return platform::kRootCurrentUser; }
  int32_t HKEY_LOCAL_MACHINE() const { return platform::kRootLocalMachine; }
  bool InitForRead(int32_t nRootKey, const std::u16string& strSubKey);
  bool InitForWrite(int32_t nRootKey, const std::u16string& strSubKey, bool bCreate);
  bool InitForAllAccess(int32_t nRootKey, const std::u16string& strSubKey, bool bCreate);
  bool InitForAccess(int32_t nRootKey, const std::u16string& strSubKey, uint32_t nAccess, bool bCreate);
  std::u16string Values(int32_t nIndex);
  std::u16string Keys(int32_t nIndex);
  bool DeleteAllKeys();
  bool DeleteKeyRec(const std::u16string& strSubKey);
  bool CloseKey();
  bool WriteString(const std::u16string& sName, const std::u16string& sValue);
  std::u16string ReadString(const std::u16string& sName);
  bool ReadBinary(const std::u16string& sName, std::vector<uint8_t>& abData);
  int32_t QueryValueInfo(const std::u16string& sName, int32_t& nType, int32_t& nSize);
  bool WriteDWord(const std::u16string& sName, int32_t nValue);
  int32_t ReadDWord(const std::u16string& sName, int32_t nDefault);
  bool WriteBool(const std::u16string& sName, bool bValue);
  bool ReadBool(const std::u16string& sName);
  bool WriteYesNo(const std::u16string& sName, bool bValue);
  bool ReadYesNo(const std::u16string& sName);
  bool WriteDate(const std::u16string& sName, base::Date dtValue);
  base::Date ReadDate(const std::u16string& sName, base::Date dtDefault);
  bool DeleteValue(const std::u16string& sName);
  bool DeleteKey(const std::u16string& strSubKey);
  bool FlushKey();

  // The registry view that 32-bit programs see on a 64-bit system, for
  // InitForReadView; 0 names the program's own (native) view.
  uint32_t KEY_WOW64_32KEY() const { return platform::kKeyWow64_32Key; }
  // InitForRead in the view nView.
  bool InitForReadView(int32_t nRootKey, const std::u16string& strSubKey, uint32_t nView);

  // The held key (0 when none); a child object opens subkeys relative to it.
  platform::HKey Handle() const { return hKey.Get(); }

 private:
  // Opening relative to a key handle rather than a 32-bit root value: what
  // DeleteAllKeys and DeleteKeyRec need for child objects on 64-bit handles.
  bool InitForAccessHandle(platform::HKey hRoot, const std::u16string& strSubKey, uint32_t nAccess, bool bCreate);

  platform::ScopedKey hKey;
};

}  // namespace twinsweep
