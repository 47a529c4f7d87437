#pragma once
// A scratch registry key for tests: HKEY_CURRENT_USER\Software\TwinsweepTests\<suite>,
// emptied of anything a previous run left, created fresh, and deleted with all its
// subkeys when the object goes. Works through whichever IRegistry it is given, so
// one suite runs against the in-memory store and against the system's registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/platform/registry.h"
#include "twinsweep/platform/scoped_handle.h"

using namespace twinsweep;

namespace testing_support {

// A key closed through the registry it was opened in, which a suite run against
// several stores does not make the current one.
struct KeyOfGivenRegistry {
  using Handle = platform::HKey;
  platform::IRegistry* pRegistry = nullptr;
  static Handle Invalid() { return 0; }
  void Close(Handle h) const { pRegistry->CloseKey(h); }
};
using ScopedKeyIn = platform::ScopedHandle<KeyOfGivenRegistry>;

// Deletes sSubKey of hParent with everything beneath it, using only the platform
// calls (so that a test of CWinReg's own deletion does not rely on it).
void DeleteTree(platform::IRegistry& oRegistry, platform::HKey hParent, const std::u16string& sSubKey);

// The registries a contract or wrapper suite runs against: a fresh in-memory
// store, and the build's own (the in-memory default natively, Wine's real registry
// in the Windows tree).
struct RegistryBackend {
  const char* pszName;
  bool bSystem;
};
inline auto AllRegistryBackends() {
  return ::testing::Values(RegistryBackend{"Memory", false}, RegistryBackend{"System", true});
}
inline std::string RegistryBackendName(const ::testing::TestParamInfo<RegistryBackend>& info) {
  return info.param.pszName;
}

// The registry of one backend for the life of a test: a fresh store it owns, or
// the build's default.
class BackendRegistry {
 public:
  explicit BackendRegistry(const RegistryBackend& oBackend)
      : pMemory_(oBackend.bSystem ? nullptr : std::make_unique<platform::MemoryRegistry>()) {}
  platform::IRegistry& Get() const {
    return pMemory_ ? static_cast<platform::IRegistry&>(*pMemory_) : platform::Default<platform::IRegistry>();
  }
  // The in-memory store, null for the system's registry.
  platform::MemoryRegistry* Memory() const { return pMemory_.get(); }

 private:
  std::unique_ptr<platform::MemoryRegistry> pMemory_;
};

class ScratchKey {
 public:
  ScratchKey(platform::IRegistry& oRegistry, const std::u16string& sSuite);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The key, opened with all access (0 when it could not be created).
  platform::HKey Handle() const { return hKey_.Get(); }
  // The path under HKEY_CURRENT_USER, for opening it again.
  const std::u16string& Path() const { return sPath_; }

 private:
  platform::IRegistry& oRegistry_;
  std::u16string sPath_;
  ScopedKeyIn hKey_;
};

}  // namespace testing_support
