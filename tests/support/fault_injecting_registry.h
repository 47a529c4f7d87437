#pragma once
// FaultInjectingRegistry: a registry with faults on demand, in the manner of
// "fail the Nth call, once or from then on", over another registry (the build's
// own unless told otherwise: the in-memory store natively, the real one under
// Wine).
//
// Every call through the double is counted (1, 2, ...). FailCall(n, status) makes
// call n answer status without reaching the registry below; with bPersistent every
// later call fails too. A failing query leaves the caller's size as it was.
// OpenHandles() counts the keys opened through the double and not yet closed,
// which a loop test checks after every run. Used as FaultInjectingFiles is:
//
//   FaultInjectingRegistry registry(store);
//   platform::ScopedOverride<platform::IRegistry> use(registry);
//   for (int n = 1;; ++n) { registry.Reset(); registry.FailCall(n, 5); Run(); ...; if (!registry.Fired()) break; }
#include <cstdint>
#include <set>

#include "twinsweep/platform/registry.h"
#include "support/fault_schedule.h"

using namespace twinsweep;

namespace testing_support {

class FaultInjectingRegistry : public platform::IRegistry, public FaultSchedule {
 public:
  explicit FaultInjectingRegistry(platform::IRegistry& inner = platform::Default<platform::IRegistry>())
      : inner_(inner) {}

  // Forgets the faults and the count of calls; keeps the handle count.
  void Reset() { ResetSchedule(); }
  size_t OpenHandles() const { return open_.size(); }

  int32_t OpenKey(platform::HKey h, std::u16string_view s, uint32_t n, platform::HKey* p) override {
    return Opened(Fault() ? FaultStatus() : inner_.OpenKey(h, s, n, p), p);
  }
  int32_t CreateKey(platform::HKey h, std::u16string_view s, uint32_t n, platform::HKey* p) override {
    return Opened(Fault() ? FaultStatus() : inner_.CreateKey(h, s, n, p), p);
  }
  int32_t CloseKey(platform::HKey h) override {
    open_.erase(h);  // a failed close still gives the handle up
    const bool bFault = Fault();
    const int32_t rc = inner_.CloseKey(h);
    return bFault ? FaultStatus() : rc;
  }
  int32_t SetValue(platform::HKey h, std::u16string_view s, uint32_t t, const uint8_t* p, uint32_t n) override {
    return Fault() ? FaultStatus() : inner_.SetValue(h, s, t, p, n);
  }
  int32_t QueryValue(platform::HKey h, std::u16string_view s, uint32_t* t, uint8_t* p, uint32_t* n) override {
    return Fault() ? FaultStatus() : inner_.QueryValue(h, s, t, p, n);
  }
  int32_t DeleteValue(platform::HKey h, std::u16string_view s) override {
    return Fault() ? FaultStatus() : inner_.DeleteValue(h, s);
  }
  int32_t DeleteKey(platform::HKey h, std::u16string_view s) override {
    return Fault() ? FaultStatus() : inner_.DeleteKey(h, s);
  }
  int32_t FlushKey(platform::HKey h) override { return Fault() ? FaultStatus() : inner_.FlushKey(h); }
  int32_t EnumValue(platform::HKey h, uint32_t i, char16_t* p, uint32_t* n) override {
    return Fault() ? FaultStatus() : inner_.EnumValue(h, i, p, n);
  }
  int32_t EnumKey(platform::HKey h, uint32_t i, char16_t* p, uint32_t* n) override {
    return Fault() ? FaultStatus() : inner_.EnumKey(h, i, p, n);
  }

 private:
  int32_t Opened(int32_t rc, platform::HKey* p) {
    if (rc == platform::kErrorSuccess && p) open_.insert(*p);
    return rc;
  }

  platform::IRegistry& inner_;
  std::set<platform::HKey> open_;
};

}  // namespace testing_support
