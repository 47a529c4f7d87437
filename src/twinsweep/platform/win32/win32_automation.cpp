// Windows implementation of late-bound automation: COM objects created from a
// ProgID in the calling thread's apartment (which its owner joins and leaves:
// apartment.h) and called through IDispatch.
#include "twinsweep/platform/win32/win32_com_owners.h"
#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/win32/win32_system_message.h"

#include <string>
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/automation.h"

namespace twinsweep {

namespace platform {
namespace {

using win32::ComPtr;
using win32::NewReference;

// The system's text for an HRESULT, or a plain sentence when it has none.
std::u16string DescribeHResult(HRESULT hr) {
  std::u16string s = win32::SystemMessage(static_cast<DWORD>(hr));
  if (s.empty()) {
    wchar_t buf[16];
    ::wsprintfW(buf, L"%08X", static_cast<unsigned>(hr));
    s = u"Automation error 0x" + win32::FromWide(buf, ::lstrlenW(buf)) + u".";
  }
  return s;
}

[[noreturn]] void RaiseHResult(HRESULT hr, std::u16string_view sWhat) {
  std::u16string s = DescribeHResult(hr);
  if (!sWhat.empty()) s += u" (" + std::u16string(sWhat) + u")";
  base::Raise(static_cast<int32_t>(hr), s);
}

class DispatchObject;
IDispatch* DispatchOf(const AutomationObject& o);

// VARIANT arguments built from the caller's, released when the call is done (or
// when building them fails half way).
class ArgumentBlock {
 public:
  explicit ArgumentBlock(const AutomationArgs& args) : args_(args), v_(args.size()), longs_(args.size()) {
    const size_t n = args.size();
    for (size_t i = 0; i < n; ++i) {
      // The callee receives the arguments last first.
      VARIANT& v = v_[n - 1 - i];
      const AutomationArg& a = args[i];
      switch (a.kind) {
        case AutomationArg::Kind::LongByRef:
          longs_[i] = *a.pnLong;
          v.vt = VT_I4 | VT_BYREF;
          v.plVal = &longs_[i];
          break;
        case AutomationArg::Kind::Object:
          v.vt = VT_DISPATCH;
          // The VARIANT holds a reference of its own, which clearing it releases.
          v.pdispVal = NewReference(DispatchOf(a.oObject)).Take();
          break;
        case AutomationArg::Kind::Value: FromValue(a.vValue, &v); break;
      }
    }
  }
  ArgumentBlock(const ArgumentBlock&) = delete;
  ArgumentBlock& operator=(const ArgumentBlock&) = delete;

  DISPPARAMS* Params() {
    params_.rgvarg = v_.Data();
    params_.cArgs = static_cast<UINT>(v_.Size());
    params_.rgdispidNamedArgs = nullptr;
    params_.cNamedArgs = 0;
    return &params_;
  }
  // Hands by-reference values back to the caller's variables.
  void CopyBack() {
    for (size_t i = 0; i < args_.size(); ++i)
      if (args_[i].kind == AutomationArg::Kind::LongByRef) *args_[i].pnLong = longs_[i];
  }

 private:
  static void FromValue(const base::Variant& val, VARIANT* v) {
    switch (val.GetKind()) {
      case base::Variant::Kind::Empty: v->vt = VT_EMPTY; break;
      case base::Variant::Kind::Null: v->vt = VT_NULL; break;
      case base::Variant::Kind::Bool:
        v->vt = VT_BOOL;
        v->boolVal = val.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case base::Variant::Kind::Long:
        v->vt = VT_I4;
        v->lVal = val.AsLong();
        break;
      case base::Variant::Kind::Double:
        v->vt = VT_R8;
        v->dblVal = val.AsDouble();
        break;
      case base::Variant::Kind::Date:
        v->vt = VT_DATE;
        v->date = val.AsDate().dValue;
        break;
      case base::Variant::Kind::String: {
        const std::wstring w = win32::WideCounted(val.AsText());
        v->vt = VT_BSTR;
        v->bstrVal = ::SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
        if (!v->bstrVal) base::Raise(base::kOutOfMemory);
        break;
      }
      case base::Variant::Kind::List: base::Raise(base::kTypeMismatch);
    }
  }

  const AutomationArgs& args_;
  win32::ScopedVariants v_;
  std::vector<LONG> longs_;
  DISPPARAMS params_{};
};

AutomationObject WrapDispatch(ComPtr<IDispatch> p);

// A call's VARIANT result as the program's value or object reference.
AutomationResult ToResult(VARIANT& v) {
  AutomationResult r;
  switch (v.vt) {
    case VT_DISPATCH:
      r.bIsObject = true;
      if (v.pdispVal) r.oObject = WrapDispatch(NewReference(v.pdispVal));
      return r;
    case VT_UNKNOWN: {
      r.bIsObject = true;
      ComPtr<IDispatch> p;
      if (v.punkVal && SUCCEEDED(v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(p.Receive()))))
        r.oObject = WrapDispatch(std::move(p));
      return r;
    }
    case VT_EMPTY: return r;
    case VT_NULL: r.vValue = base::Variant::Null(); return r;
    case VT_BOOL: r.vValue = base::Variant(v.boolVal != VARIANT_FALSE); return r;
    case VT_BSTR:
      r.vValue = base::Variant(win32::FromWide(v.bstrVal ? v.bstrVal : L"", ::SysStringLen(v.bstrVal)));
      return r;
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL: {
      win32::ScopedVariant d;
      if (FAILED(::VariantChangeType(d.Receive(), &v, 0, VT_R8))) base::Raise(base::kOverflow);
      r.vValue = base::Variant(d.Get().dblVal);
      return r;
    }
    case VT_DATE: r.vValue = base::Variant(base::Date{v.date}); return r;
    default: {
      win32::ScopedVariant n;
      if (SUCCEEDED(::VariantChangeType(n.Receive(), &v, 0, VT_I4))) {
        r.vValue = base::Variant(static_cast<int32_t>(n.Get().lVal));
        return r;
      }
      base::Raise(base::kTypeMismatch);
    }
  }
}

class DispatchObject : public IAutomationObject {
 public:
  explicit DispatchObject(ComPtr<IDispatch> p) : p_(std::move(p)) {}

  IDispatch* Get() const { return p_.Get(); }
  IAutomationObject& Target() override { return *this; }

  AutomationResult Invoke(std::u16string_view sName, InvokeKind kind, const AutomationArgs& args) override {
    std::optional<std::wstring> name = win32::Wide(sName);
    if (!name) RaiseHResult(DISP_E_UNKNOWNNAME, sName);
    LPOLESTR names[1] = {&(*name)[0]};
    DISPID id = 0;
    HRESULT hr = p_.Get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) RaiseHResult(hr, sName);

    ArgumentBlock block(args);
    win32::ScopedVariant result;
    win32::ScopedExcepInfo info;
    UINT nArgErr = 0;
    hr = p_.Get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, static_cast<WORD>(kind), block.Params(), result.Receive(),
                          &info.Get(), &nArgErr);
    if (FAILED(hr)) {
      if (hr == DISP_E_EXCEPTION) RaiseException(info.Get(), sName);
      RaiseHResult(hr, sName);
    }
    block.CopyBack();
    return ToResult(result.Get());
  }

 private:
  // The server's own error: its code and its description when it gave one.
  [[noreturn]] static void RaiseException(EXCEPINFO& info, std::u16string_view sName) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    const int32_t nNumber = info.scode ? static_cast<int32_t>(info.scode) : static_cast<int32_t>(info.wCode);
    std::u16string s;
    if (info.bstrDescription) s = win32::FromWide(info.bstrDescription, ::SysStringLen(info.bstrDescription));
    if (s.empty()) {
      s = info.scode ? DescribeHResult(info.scode) : u"The automation server reported an error";
      s += u" (" + std::u16string(sName) + u")";
    }
    base::Raise(nNumber, s);
  }

  ComPtr<IDispatch> p_;
};

AutomationObject WrapDispatch(ComPtr<IDispatch> p) { return std::make_shared<DispatchObject>(std::move(p)); }

IDispatch* DispatchOf(const AutomationObject& o) {
  if (!o) return nullptr;
  auto* d = dynamic_cast<DispatchObject*>(&o->Target());
  if (!d) base::Raise(base::kTypeMismatch);
  return d->Get();
}

class Win32Automation : public IAutomation {
 public:
  AutomationObject CreateObject(std::u16string_view sProgID) override {
    const std::optional<std::wstring> progId = win32::Wide(sProgID);
    if (!progId) RaiseHResult(CO_E_CLASSSTRING, sProgID);
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId->c_str(), &clsid);
    if (FAILED(hr)) RaiseHResult(hr, sProgID);
    ComPtr<IUnknown> pUnknown;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(pUnknown.Receive()));
    // Every object has IUnknown: E_NOINTERFACE for it means that the server that
    // was started ended without handing out its class (Wine reports it so when a
    // second instance hands over to the first one, which is still starting). That
    // is the failed start of a server, and is reported as one.
    if (hr == E_NOINTERFACE) hr = CO_E_SERVER_EXEC_FAILURE;
    if (FAILED(hr)) RaiseHResult(hr, sProgID);
    ComPtr<IDispatch> pDispatch;
    hr = pUnknown.Get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(pDispatch.Receive()));
    if (FAILED(hr)) RaiseHResult(hr, sProgID);
    return WrapDispatch(std::move(pDispatch));
  }
};

}  // namespace

template <>
IAutomation& Default<IAutomation>() {
  return StaticInstance<Win32Automation>();
}

}  // namespace platform

}  // namespace twinsweep
