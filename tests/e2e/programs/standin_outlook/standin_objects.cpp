// The stand-in's automation objects, late-bound only (IDispatch without a type
// library), and strict about what they receive: a call with the wrong number or
// types of arguments fails with DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH, as a
// wrong DISPPARAMS order would with the real mail client.
#include <string>
#include <vector>

#include "standin.h"

namespace standin {
namespace {

std::wstring TypeText(const VARIANT& v) {
  std::wstring s;
  switch (v.vt & VT_TYPEMASK) {
    case VT_EMPTY: s = L"VT_EMPTY"; break;
    case VT_NULL: s = L"VT_NULL"; break;
    case VT_I2: s = L"VT_I2"; break;
    case VT_I4: s = L"VT_I4"; break;
    case VT_R8: s = L"VT_R8"; break;
    case VT_BSTR: s = L"VT_BSTR"; break;
    case VT_DISPATCH: s = L"VT_DISPATCH"; break;
    case VT_BOOL: s = L"VT_BOOL"; break;
    case VT_VARIANT: s = L"VT_VARIANT"; break;
    case VT_UNKNOWN: s = L"VT_UNKNOWN"; break;
    default: s = L"VT_" + std::to_wstring(v.vt & VT_TYPEMASK); break;
  }
  if (v.vt & VT_BYREF) s += L"|VT_BYREF";
  if (v.vt == VT_DISPATCH && !v.pdispVal) s += L"(null)";
  return s;
}

// The arguments in their natural order (DISPPARAMS holds them last first).
std::vector<const VARIANT*> Natural(const DISPPARAMS* p) {
  std::vector<const VARIANT*> args;
  for (UINT i = p->cArgs; i > 0; --i) args.push_back(&p->rgvarg[i - 1]);
  return args;
}

std::wstring ArgsText(const DISPPARAMS* p) {
  std::wstring s;
  for (const VARIANT* v : Natural(p)) s += (s.empty() ? L"" : L",") + TypeText(*v);
  return s.empty() ? L"-" : s;
}

class DispatchBase : public IDispatch {
 public:
  virtual ~DispatchBase() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&nRefs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&nRefs_);
    if (n == 0 && !(bHangOnFinalRelease_ && HangIfAsked(L"Release"))) delete this;
    return static_cast<ULONG>(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pn) override {
    *pn = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
    if (n != 1) return DISP_E_UNKNOWNNAME;
    for (size_t i = 0; i < members_.size(); ++i)
      if (lstrcmpiW(members_[i], names[0]) == 0) {
        ids[0] = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    ids[0] = DISPID_UNKNOWN;
    Record(L"unknown-name " + std::wstring(names[0]));
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* pResult, EXCEPINFO*,
                                   UINT* pArgErr) override {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    if (p->cNamedArgs) return DISP_E_NONAMEDARGS;
    const wchar_t* name = members_[static_cast<size_t>(id - 1)];
    Record(std::wstring(L"call ") + name + L" flags=" + std::to_wstring(flags) + L" args=" + ArgsText(p));
    if (HangIfAsked(name)) return E_FAIL;
    VARIANT dummy;
    VariantInit(&dummy);
    return Call(static_cast<int>(id), flags, p, pResult ? pResult : &dummy, pArgErr);
  }

 protected:
  explicit DispatchBase(std::vector<const wchar_t*> members) : members_(std::move(members)) {}
  bool bHangOnFinalRelease_ = false;
  virtual HRESULT Call(int nMember, WORD flags, DISPPARAMS* p, VARIANT* pResult, UINT* pArgErr) = 0;

  static HRESULT PropertyGetOnly(WORD flags, const DISPPARAMS* p) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (p->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    return S_OK;
  }
  static HRESULT ReturnObject(IDispatch* o, VARIANT* pResult) {
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = o;  // the caller's reference
    return S_OK;
  }

 private:
  LONG nRefs_ = 1;
  std::vector<const wchar_t*> members_;
};

// The add-in's own object: Execute(Command As String, Parameter As Object).
class AddinObject : public DispatchBase {
 public:
  explicit AddinObject(std::wstring sTag) : DispatchBase({L"Execute"}), sTag_(std::move(sTag)) {}

 protected:
  HRESULT Call(int, WORD flags, DISPPARAMS* p, VARIANT* pResult, UINT* pArgErr) override {
    HRESULT hr = S_OK;
    std::vector<const VARIANT*> args = Natural(p);
    if (!(flags & DISPATCH_METHOD)) hr = DISP_E_MEMBERNOTFOUND;
    else if (args.size() != 2) hr = DISP_E_BADPARAMCOUNT;
    else if (args[0]->vt != VT_BSTR) {
      hr = DISP_E_TYPEMISMATCH;
      if (pArgErr) *pArgErr = p->cArgs - 1;  // index in rgvarg of the first argument
    } else if (args[1]->vt != VT_DISPATCH) {
      hr = DISP_E_TYPEMISMATCH;
      if (pArgErr) *pArgErr = 0;
    }
    std::wstring sCommand = (args.size() >= 1 && args[0]->vt == VT_BSTR && args[0]->bstrVal) ? args[0]->bstrVal : L"";
    wchar_t buf[32];
    wsprintfW(buf, L"0x%08lX", static_cast<unsigned long>(hr));
    Record(L"execute object=" + sTag_ + L" args=" + ArgsText(p) + L" command=" + sCommand + L" hr=" + buf);
    if (SUCCEEDED(hr)) VariantInit(pResult);
    return hr;
  }

 private:
  std::wstring sTag_;
};

// One COMAddIn entry: ProgId, Object, Connect.
class AddinEntryObject : public DispatchBase {
 public:
  explicit AddinEntryObject(AddinEntry e) : DispatchBase({L"ProgId", L"Object", L"Connect"}), e_(std::move(e)) {}

 protected:
  HRESULT Call(int nMember, WORD flags, DISPPARAMS* p, VARIANT* pResult, UINT*) override {
    HRESULT hr = PropertyGetOnly(flags, p);
    if (FAILED(hr)) return hr;
    switch (nMember) {
      case 1:
        pResult->vt = VT_BSTR;
        pResult->bstrVal = SysAllocString(e_.sProgId.c_str());
        return S_OK;
      case 2: return ReturnObject(e_.sTag == L"-" ? nullptr : new AddinObject(e_.sTag), pResult);
      default:
        pResult->vt = VT_BOOL;
        pResult->boolVal = e_.sTag == L"-" ? VARIANT_FALSE : VARIANT_TRUE;
        return S_OK;
    }
  }

 private:
  AddinEntry e_;
};

// COMAddIns: Count, Item(Index). The index is a VARIANT the caller may pass by
// reference; only integers are taken.
class AddinCollection : public DispatchBase {
 public:
  AddinCollection() : DispatchBase({L"Count", L"Item"}) {}

 protected:
  HRESULT Call(int nMember, WORD flags, DISPPARAMS* p, VARIANT* pResult, UINT* pArgErr) override {
    const std::vector<AddinEntry>& addins = Config().addins;
    if (nMember == 1) {
      HRESULT hr = PropertyGetOnly(flags, p);
      if (FAILED(hr)) return hr;
      pResult->vt = VT_I4;
      pResult->lVal = static_cast<LONG>(addins.size());
      return S_OK;
    }
    if (p->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    const VARIANT& v = p->rgvarg[0];
    LONG n = 0;
    if (v.vt == (VT_I4 | VT_BYREF) && v.plVal) n = *v.plVal;
    else if (v.vt == VT_I4) n = v.lVal;
    else {
      if (pArgErr) *pArgErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (n < 1 || static_cast<size_t>(n) > addins.size()) return DISP_E_BADINDEX;
    return ReturnObject(new AddinEntryObject(addins[static_cast<size_t>(n - 1)]), pResult);
  }
};

class Application : public DispatchBase {
 public:
  Application() : DispatchBase({L"COMAddIns", L"Name"}) { bHangOnFinalRelease_ = true; }

 protected:
  HRESULT Call(int nMember, WORD flags, DISPPARAMS* p, VARIANT* pResult, UINT*) override {
    HRESULT hr = PropertyGetOnly(flags, p);
    if (FAILED(hr)) return hr;
    if (nMember == 1) return ReturnObject(new AddinCollection(), pResult);
    pResult->vt = VT_BSTR;
    pResult->bstrVal = SysAllocString(L"Stand-in Outlook");
    return S_OK;
  }
};

// Rejects the first incoming calls as a mail client busy starting does.
class RejectingFilter : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
      *ppv = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override {
    if (nRejectsLeft_ != 0) {
      if (nRejectsLeft_ > 0) --nRejectsLeft_;
      Record(L"rejected method=" + std::to_wstring(info ? info->wMethod : 0));
      return SERVERCALL_REJECTED;
    }
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

 private:
  int nRejectsLeft_ = Config().nRejectCalls;
};

}  // namespace

IDispatch* NewApplication() { return new Application(); }

IMessageFilter* NewRejectingFilter() {
  static RejectingFilter filter;
  return &filter;
}

}  // namespace standin
