#include "twinsweep/platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/memory/registry_name_case.h"

namespace twinsweep {

namespace platform {
namespace {
constexpr uint32_t kQueryValue = 0x1;
constexpr uint32_t kSetValue = 0x2;
constexpr uint32_t kEnumerateSubKeys = 0x8;
constexpr int32_t kErrorKeyDeleted = 1018;

// The 32-bit view of a 64-bit system, for the keys that the program reads in it:
// opened from HKEY_LOCAL_MACHINE with KEY_WOW64_32KEY, "Software\X" is
// "Software\WOW6432Node\X"; from HKEY_CLASSES_ROOT, "CLSID\X" is
// "WOW6432Node\CLSID\X". Every other key, and every key opened without the flag
// or below a key already open, is the native one.
std::u16string ViewPath(HKey hRoot, std::u16string_view sPath, uint32_t nAccess) {
  std::u16string s(sPath);
  if (!(nAccess & kKeyWow64_32Key)) return s;
  auto startsWith = [&](std::u16string_view sKey) {
    return s.size() >= sKey.size() && base::EqualsNoCase(std::u16string_view(s).substr(0, sKey.size()), sKey) &&
           (s.size() == sKey.size() || s[sKey.size()] == u'\\');
  };
  if (hRoot == RootKey(kRootLocalMachine) && startsWith(u"Software")) return s.insert(8, u"\\WOW6432Node");
  if (hRoot == RootKey(kRootClassesRoot) && startsWith(u"CLSID")) return u"WOW6432Node\\" + s;
  return s;
}

constexpr int32_t kErrorNoAccess = 998;
// The longest names the registry takes, in characters: a key name (each level of
// a path) and a value name. Wine takes one character more for a key name; the
// store holds to Windows' limit.
constexpr size_t kLongestKeyName = 255;
constexpr size_t kLongestValueName = 16383;

// The system reads a name only up to a NUL; the program's registry service
// refuses a name with a NUL inside as a name that does not exist, rather than let
// it be cut short.
bool HasInnerNul(std::u16string_view sName) { return sName.find(u'\0') != std::u16string_view::npos; }

bool IsStringType(uint32_t nType) { return nType == kRegSz || nType == kRegExpandSz || nType == 7; }
}  // namespace

struct MemoryRegistry::Key {
  struct Value {
    std::u16string sName;
    uint32_t nType = 0;
    std::vector<uint8_t> abData;
  };
  std::u16string sName;
  Key* pParent = nullptr;
  bool bDeleted = false;
  uint32_t nRefused = 0;
  // Subkeys by folded name: the registry lists them in name order.
  std::map<std::u16string, std::shared_ptr<Key>> subkeys;
  std::vector<Value> values;

  Value* FindValue(std::u16string_view name) {
    const std::u16string sFolded = RegistryFold(name);
    for (auto& v : values)
      if (RegistryFold(v.sName) == sFolded) return &v;
    return nullptr;
  }
};

MemoryRegistry::MemoryRegistry() {
  for (int32_t root : {kRootClassesRoot, kRootCurrentUser, kRootLocalMachine, static_cast<int32_t>(0x80000003u)})
    roots_[RootKey(root)] = std::make_shared<Key>();
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::Resolve(HKey h, uint32_t nNeeded, int32_t* pnStatus) const {
  *pnStatus = kErrorSuccess;
  if (auto r = roots_.find(h); r != roots_.end()) return r->second;
  auto it = handles_.find(h);
  if (it == handles_.end()) {
    *pnStatus = kErrorInvalidHandle;
    return nullptr;
  }
  if (it->second.key->bDeleted) {
    *pnStatus = kErrorKeyDeleted;
    return nullptr;
  }
  if ((it->second.nAccess & nNeeded) != nNeeded) {
    *pnStatus = kErrorAccessDenied;
    return nullptr;
  }
  return it->second.key;
}

int32_t MemoryRegistry::Walk(HKey hRoot, std::u16string_view sRequested, uint32_t nAccess, bool bCreate, HKey* phKey) {
  // The system reads a name only up to a NUL; one with an inner NUL is refused.
  if (sRequested.find(u'\0') != std::u16string_view::npos) return kErrorFileNotFound;
  const std::u16string sViewPath = ViewPath(hRoot, sRequested, nAccess);
  std::u16string_view sPath = sViewPath;
  int32_t status;
  std::shared_ptr<Key> key = Resolve(hRoot, 0, &status);
  if (!key) return status;
  // A path is relative and may not begin with a backslash; directly under
  // HKEY_CLASSES_ROOT one leading backslash is skipped, as Windows does. Without
  // this "\" would name the key itself and a recursive deletion would empty it.
  if (!sPath.empty() && sPath.front() == u'\\') {
    if (hRoot != RootKey(kRootClassesRoot)) return kErrorBadPathname;
    sPath.remove_prefix(1);
  }
  if (HasInnerNul(sPath)) return kErrorFileNotFound;
  std::vector<std::u16string> parts;
  for (auto& part : base::Split(sPath, u"\\"))
    if (!part.empty()) parts.push_back(part);
  for (const auto& part : parts)
    if (part.size() > kLongestKeyName) return kErrorInvalidParameter;
  for (const auto& part : parts) {
    std::u16string folded = RegistryFold(part);
    auto it = key->subkeys.find(folded);
    if (it == key->subkeys.end()) {
      if (!bCreate) return kErrorFileNotFound;
      auto child = std::make_shared<Key>();
      child->sName = part;
      child->pParent = key.get();
      it = key->subkeys.emplace(folded, child).first;
    }
    key = it->second;
  }
  if (key->nRefused & nAccess) return kErrorAccessDenied;
  HKey h = nNextHandle_;
  nNextHandle_ += 4;
  handles_[h] = Handle{key, nAccess};
  *phKey = h;
  return kErrorSuccess;
}

int32_t MemoryRegistry::OpenKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) {
  return Walk(hRoot, sPath, nAccess, false, phKey);
}

int32_t MemoryRegistry::CreateKey(HKey hRoot, std::u16string_view sPath, uint32_t nAccess, HKey* phKey) {
  return Walk(hRoot, sPath, nAccess, true, phKey);
}

int32_t MemoryRegistry::CloseKey(HKey hKey) {
  if (roots_.count(hKey)) return kErrorSuccess;
  return handles_.erase(hKey) ? kErrorSuccess : kErrorInvalidHandle;
}

int32_t MemoryRegistry::SetValue(HKey hKey, std::u16string_view sName, uint32_t nType, const uint8_t* pData,
                                 uint32_t nSize) {
  int32_t status;
  auto key = Resolve(hKey, kSetValue, &status);
  if (!key) return status;
  if (HasInnerNul(sName)) return kErrorFileNotFound;
  if (sName.size() > kLongestValueName) return kErrorInvalidParameter;
  if (!pData && nSize != 0) return kErrorNoAccess;
  // A string counted without its terminator while one follows it in memory gets
  // the terminator counted, as Windows does (it reads that one character more).
  if (IsStringType(nType) && nSize >= 2) {
    const uint8_t* pNext = pData + nSize / 2 * 2;
    const uint8_t* pLast = pNext - 2;
    if ((pLast[0] | pLast[1]) != 0 && (pNext[0] | pNext[1]) == 0) nSize += 2;
  }
  Key::Value* v = key->FindValue(sName);
  if (!v) {
    key->values.push_back(Key::Value{std::u16string(sName), 0, {}});
    v = &key->values.back();
  }
  v->nType = nType;
  v->abData.assign(pData, pData + (pData ? nSize : 0));
  return kErrorSuccess;
}

int32_t MemoryRegistry::QueryValue(HKey hKey, std::u16string_view sName, uint32_t* pnType, uint8_t* pData,
                                   uint32_t* pnSize) {
  int32_t status;
  auto key = Resolve(hKey, kQueryValue, &status);
  if (!key) return status;
  Key::Value* v = HasInnerNul(sName) ? nullptr : key->FindValue(sName);
  if (!v) return kErrorFileNotFound;
  if (pnType) *pnType = v->nType;
  uint32_t size = static_cast<uint32_t>(v->abData.size());
  if (pData) {
    if (!pnSize) return kErrorInvalidParameter;
    if (*pnSize < size) {
      *pnSize = size;
      return kErrorMoreData;
    }
    if (size) std::memcpy(pData, v->abData.data(), size);
  }
  if (pnSize) *pnSize = size;
  return kErrorSuccess;
}

int32_t MemoryRegistry::DeleteValue(HKey hKey, std::u16string_view sName) {
  int32_t status;
  auto key = Resolve(hKey, kSetValue, &status);
  if (!key) return status;
  Key::Value* v = HasInnerNul(sName) ? nullptr : key->FindValue(sName);
  if (!v) return kErrorFileNotFound;
  auto it = key->values.begin() + (v - key->values.data());
  key->values.erase(it);
  return kErrorSuccess;
}

int32_t MemoryRegistry::DeleteKey(HKey hKey, std::u16string_view sSubKey) {
  HKey hChild = 0;
  int32_t status = Walk(hKey, sSubKey, 0, false, &hChild);
  if (status != kErrorSuccess) return status;
  std::shared_ptr<Key> child = handles_[hChild].key;
  handles_.erase(hChild);
  if (!child->pParent) return kErrorAccessDenied;  // a root key cannot be deleted
  if (!child->subkeys.empty()) return kErrorAccessDenied;
  child->bDeleted = true;
  child->pParent->subkeys.erase(RegistryFold(child->sName));
  return kErrorSuccess;
}

int32_t MemoryRegistry::FlushKey(HKey hKey) {
  int32_t status;
  auto key = Resolve(hKey, 0, &status);
  return key ? kErrorSuccess : status;
}

namespace {
int32_t CopyName(const std::u16string& sName, char16_t* pName, uint32_t* pnNameLen) {
  if (!pName || !pnNameLen) return kErrorInvalidParameter;
  if (sName.size() + 1 > *pnNameLen) return kErrorMoreData;
  std::copy(sName.begin(), sName.end(), pName);
  pName[sName.size()] = 0;
  *pnNameLen = static_cast<uint32_t>(sName.size());
  return kErrorSuccess;
}
}  // namespace

int32_t MemoryRegistry::EnumValue(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) {
  int32_t status;
  auto key = Resolve(hKey, kQueryValue, &status);
  if (!key) return status;
  if (nIndex >= key->values.size()) return kErrorNoMoreItems;
  return CopyName(key->values[nIndex].sName, pName, pnNameLen);
}

int32_t MemoryRegistry::EnumKey(HKey hKey, uint32_t nIndex, char16_t* pName, uint32_t* pnNameLen) {
  int32_t status;
  auto key = Resolve(hKey, kEnumerateSubKeys, &status);
  if (!key) return status;
  if (nIndex >= key->subkeys.size()) return kErrorNoMoreItems;
  auto it = key->subkeys.begin();
  std::advance(it, nIndex);
  return CopyName(it->second->sName, pName, pnNameLen);
}

void MemoryRegistry::RefuseAccess(HKey hRoot, std::u16string_view sPath, uint32_t nMask) {
  HKey h = 0;
  if (Walk(hRoot, sPath, 0, true, &h) != kErrorSuccess) return;
  handles_[h].key->nRefused = nMask;
  CloseKey(h);
}

}  // namespace platform

}  // namespace twinsweep
