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

#include "platform/registry.h"

namespace testing_support {

class FaultInjectingRegistry : public platform::IRegistry {
 public:
  explicit FaultInjectingRegistry(platform::IRegistry& inner = platform::Default<platform::IRegistry>())
      : inner_(inner) {}

  // Forgets the faults and the count of calls; keeps the handle count.
  void Reset() {
    nCalls_ = 0;
    nFailAt_ = 0;
    bPersistent_ = false;
    bFired_ = false;
  }
  void FailCall(int64_t nCall, int32_t nStatus, bool bPersistent = false) {
    nFailAt_ = nCall;
    nStatus_ = nStatus;
    bPersistent_ = bPersistent;
  }
  int64_t Calls() const { return nCalls_; }
  bool Fired() const { return bFired_; }
  size_t OpenHandles() const { return open_.size(); }

  int32_t OpenKey(platform::HKey h, std::u16string_view s, uint32_t n, platform::HKey* p) override {
    return Opened(Fault() ? nStatus_ : inner_.OpenKey(h, s, n, p), p);
  }
  int32_t CreateKey(platform::HKey h, std::u16string_view s, uint32_t n, platform::HKey* p) override {
    return Opened(Fault() ? nStatus_ : inner_.CreateKey(h, s, n, p), p);
  }
  int32_t CloseKey(platform::HKey h) override {
    open_.erase(h);  // a failed close still gives the handle up
    const bool bFault = Fault();
    const int32_t rc = inner_.CloseKey(h);
    return bFault ? nStatus_ : rc;
  }
  int32_t SetValue(platform::HKey h, std::u16string_view s, uint32_t t, const uint8_t* p, uint32_t n) override {
    return Fault() ? nStatus_ : inner_.SetValue(h, s, t, p, n);
  }
  int32_t QueryValue(platform::HKey h, std::u16string_view s, uint32_t* t, uint8_t* p, uint32_t* n) override {
    return Fault() ? nStatus_ : inner_.QueryValue(h, s, t, p, n);
  }
  int32_t DeleteValue(platform::HKey h, std::u16string_view s) override {
    return Fault() ? nStatus_ : inner_.DeleteValue(h, s);
  }
  int32_t DeleteKey(platform::HKey h, std::u16string_view s) override {
    return Fault() ? nStatus_ : inner_.DeleteKey(h, s);
  }
  int32_t FlushKey(platform::HKey h) override { return Fault() ? nStatus_ : inner_.FlushKey(h); }
  int32_t EnumValue(platform::HKey h, uint32_t i, char16_t* p, uint32_t* n) override {
    return Fault() ? nStatus_ : inner_.EnumValue(h, i, p, n);
  }
  int32_t EnumKey(platform::HKey h, uint32_t i, char16_t* p, uint32_t* n) override {
    return Fault() ? nStatus_ : inner_.EnumKey(h, i, p, n);
  }

 private:
  bool Fault() {
    ++nCalls_;
    const bool bFail = nFailAt_ > 0 && (nCalls_ == nFailAt_ || (bPersistent_ && nCalls_ > nFailAt_));
    bFired_ = bFired_ || bFail;
    return bFail;
  }
  int32_t Opened(int32_t rc, platform::HKey* p) {
    if (rc == platform::kErrorSuccess && p) open_.insert(*p);
    return rc;
  }

  platform::IRegistry& inner_;
  int64_t nCalls_ = 0;
  int64_t nFailAt_ = 0;
  int32_t nStatus_ = 5;
  bool bPersistent_ = false;
  bool bFired_ = false;
  std::set<platform::HKey> open_;
};

}  // namespace testing_support
