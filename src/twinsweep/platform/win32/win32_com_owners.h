#pragma once
// Owners of what COM hands to the automation code: interface references, VARIANTs
// and the strings of an EXCEPINFO.
//
// Rule of this file: only owners, each releasing exactly what COM says the holder
// must release (Release, VariantClear, SysFreeString) on every way out of the
// caller, and NewReference, the one AddRef. No other COM calls belong here.
//
//   win32::ComPtr<IUnknown> pUnknown;
//   HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
//                                   reinterpret_cast<void**>(pUnknown.Receive()));
//   if (FAILED(hr)) RaiseHResult(hr, ...);   // nothing to release
//   pUnknown.Get()->QueryInterface(...);     // released when pUnknown goes
#include <cstddef>
#include <utility>
#include <vector>

#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/win32/win32_windows.h"
#include <ole2.h>
#include <oleauto.h>

namespace twinsweep {

namespace platform::win32 {

// One reference to a COM interface: the generic owner with Release as its close.
template <class T>
struct ComReleaseTraits {
  using Handle = T*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle p) { p->Release(); }
};
template <class T>
using ComPtr = ScopedHandle<ComReleaseTraits<T>>;

// A reference of the caller's own to an interface someone else holds (AddRef).
template <class T>
ComPtr<T> NewReference(T* p) {
  if (p) p->AddRef();
  return ComPtr<T>(p);
}

// A VARIANT, initialized empty and cleared (releasing its string or object) when
// it goes or receives a new value.
class ScopedVariant {
 public:
  ScopedVariant() { ::VariantInit(&v_); }
  ~ScopedVariant() { ::VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;

  VARIANT& Get() { return v_; }
  // Clears what is held and answers where a call may store a new value.
  VARIANT* Receive() {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// n VARIANTs in one block, as DISPPARAMS takes them, each cleared when the block
// goes; those not yet filled are empty, so a block abandoned half built frees what
// was put in so far.
class ScopedVariants {
 public:
  explicit ScopedVariants(size_t n) : v_(n) {
    for (VARIANT& v : v_) ::VariantInit(&v);
  }
  ~ScopedVariants() {
    for (VARIANT& v : v_) ::VariantClear(&v);
  }
  ScopedVariants(const ScopedVariants&) = delete;
  ScopedVariants& operator=(const ScopedVariants&) = delete;

  size_t Size() const { return v_.size(); }
  VARIANT& operator[](size_t i) { return v_[i]; }
  VARIANT* Data() { return v_.empty() ? nullptr : v_.data(); }

 private:
  std::vector<VARIANT> v_;
};

// The EXCEPINFO a failed IDispatch::Invoke may fill; its strings belong to the caller.
class ScopedExcepInfo {
 public:
  ScopedExcepInfo() = default;
  ~ScopedExcepInfo() {
    ::SysFreeString(info_.bstrSource);
    ::SysFreeString(info_.bstrDescription);
    ::SysFreeString(info_.bstrHelpFile);
  }
  ScopedExcepInfo(const ScopedExcepInfo&) = delete;
  ScopedExcepInfo& operator=(const ScopedExcepInfo&) = delete;

  EXCEPINFO& Get() { return info_; }

 private:
  EXCEPINFO info_{};
};

}  // namespace platform::win32

}  // namespace twinsweep
