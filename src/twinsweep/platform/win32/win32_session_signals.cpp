// Windows implementation of the session's named values and events: a page of
// the paging file mapped under the name, and named manual-reset events.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/platform/session_signals.h"

namespace twinsweep {

namespace platform {
namespace {

// What a handle of this service stands for: a kernel object and, for a value,
// its mapped view.
struct SignalObject {
  HANDLE hObject;
  volatile LONG64* pView;
};

KernelHandle Hand(HANDLE hObject, void* pView) {
  return reinterpret_cast<KernelHandle>(new SignalObject{hObject, static_cast<volatile LONG64*>(pView)});
}

SignalObject* Of(KernelHandle h) { return reinterpret_cast<SignalObject*>(h); }

class Win32SessionSignals : public ISessionSignals {
 public:
  KernelHandle CreateValue(std::u16string_view sName, bool* pbExisted) override {
    *pbExisted = false;
    const auto name = win32::Wide(sName);
    if (!name) return 0;
    HANDLE hMap = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG64), name->c_str());
    if (!hMap) return 0;
    *pbExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
    void* pView = ::MapViewOfFile(hMap, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LONG64));
    if (!pView) {
      ::CloseHandle(hMap);
      return 0;
    }
    return Hand(hMap, pView);
  }

  KernelHandle OpenValue(std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    if (!name) return 0;
    HANDLE hMap = ::OpenFileMappingW(FILE_MAP_READ, FALSE, name->c_str());
    if (!hMap) return 0;
    void* pView = ::MapViewOfFile(hMap, FILE_MAP_READ, 0, 0, sizeof(LONG64));
    if (!pView) {
      ::CloseHandle(hMap);
      return 0;
    }
    return Hand(hMap, pView);
  }

  // An aligned 64-bit load is whole on x64 (and a read-only view allows no
  // interlocked read, which writes).
  uint64_t ReadValue(KernelHandle hValue) override {
    const SignalObject* o = Of(hValue);
    return o && o->pView ? static_cast<uint64_t>(*o->pView) : 0;
  }

  void WriteValue(KernelHandle hValue, uint64_t nValue) override {
    SignalObject* o = Of(hValue);
    if (o && o->pView) ::InterlockedExchange64(const_cast<LONG64*>(o->pView), static_cast<LONG64>(nValue));
  }

  KernelHandle CreateEventByName(std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    if (!name) return 0;
    HANDLE hEvent = ::CreateEventW(nullptr, TRUE, FALSE, name->c_str());
    if (!hEvent) return 0;
    // One that was already there may have been set for an earlier holder.
    ::ResetEvent(hEvent);
    return Hand(hEvent, nullptr);
  }

  bool SetEventByName(std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    if (!name) return false;
    HANDLE hEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, name->c_str());
    if (!hEvent) return false;
    const bool bSet = ::SetEvent(hEvent) != FALSE;
    ::CloseHandle(hEvent);
    return bSet;
  }

  bool IsEventSet(KernelHandle hEvent) override {
    const SignalObject* o = Of(hEvent);
    return o && ::WaitForSingleObject(o->hObject, 0) == WAIT_OBJECT_0;
  }

  void Close(KernelHandle h) override {
    SignalObject* o = Of(h);
    if (!o) return;
    if (o->pView) ::UnmapViewOfFile(const_cast<LONG64*>(o->pView));
    ::CloseHandle(o->hObject);
    delete o;
  }
};

}  // namespace

template <>
ISessionSignals& Default<ISessionSignals>() {
  return StaticInstance<Win32SessionSignals>();
}

}  // namespace platform

}  // namespace twinsweep
