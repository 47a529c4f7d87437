#pragma once
// MemoryRegistry: the program's own registry store, for the native build (which
// has no registry) and for tests that need a registry of their own.
//
// It keeps the Windows registry's observable rules, held to the real one by the
// registry contract tests: names compared by the registry's simple upper-case
// mapping and limited in length as the real ones are, subkeys
// enumerated in name order and values in creation order, the status codes of the
// real functions, access checked against the mask a handle was opened with, and a
// key with subkeys refusing deletion. Handles of deleted keys stay valid but fail.
// It is the registry of a 64-bit system with its 32-bit view of HKLM\Software and
// of HKCR\CLSID (KEY_WOW64_32KEY at opening), kept apart from the native keys.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "twinsweep/platform/registry.h"

namespace twinsweep {

namespace platform {

class MemoryRegistry : public IRegistry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  int32_t OpenKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) override;
  int32_t CreateKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) override;
  int32_t CloseKey(HKey hKey) override;
  int32_t SetValue(HKey hKey, std::u16string_view sName, uint32_t nType, const uint8_t* pData, uint32_t nSize) override;
  int32_t QueryValue(HKey hKey, std::u16string_view sName, uint32_t* pnType, uint8_t* pData, uint32_t* pnSize) override;
  int32_t DeleteValue(HKey hKey, std::u16string_view sName) override;
  int32_t DeleteKey(HKey hKey, std::u16string_view sSubKey) override;
  int32_t FlushKey(HKey hKey) override;
  int32_t EnumValue(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) override;
  int32_t EnumKey(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) override;

  // Makes opening the key refuse (5) any access that includes a bit of nMask, as a
  // key protected from the user would; for tests of refused access.
  void RefuseAccess(HKey hRoot, std::u16string_view sPath, uint32_t nMask);
  // Number of handles open (not counting root keys); tests check nothing leaks.
  size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Key;
  struct Handle {
    std::shared_ptr<Key> key;
    uint32_t nAccess;
  };
  std::shared_ptr<Key> Resolve(HKey h, uint32_t nNeeded, int32_t* pnStatus) const;
  int32_t Walk(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, bool bCreate, HKey* phKey);

  std::map<HKey, std::shared_ptr<Key>> roots_;
  std::map<HKey, Handle> handles_;
  HKey nNextHandle_ = 0x1000;
};

}  // namespace platform

}  // namespace twinsweep
