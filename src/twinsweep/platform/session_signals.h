#pragma once
// Small named objects that the processes of one user session share: a 64-bit
// value that one process publishes and others read (a named file mapping), and
// events that another process can set (named manual-reset events).
//
// Handles are the platform's own; 0 means "none". Each is closed with Close of
// this service. An object lives while any process holds a handle to it.
#include <cstdint>
#include <string_view>

#include "twinsweep/platform/generic_scoped_handle.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class ISessionSignals {
 public:
  virtual ~ISessionSignals() = default;
  // Makes the named value, 0 at first, or opens the one already there
  // (*pbExisted), for reading and writing; 0 when it can be neither.
  [[nodiscard]] virtual KernelHandle CreateValue(std::u16string_view sName, bool* pbExisted) = 0;
  // Opens an existing named value for reading; 0 when there is none.
  [[nodiscard]] virtual KernelHandle OpenValue(std::u16string_view sName) = 0;
  // The value is read and written whole: a reader never sees half of a write.
  virtual uint64_t ReadValue(KernelHandle hValue) = 0;
  virtual void WriteValue(KernelHandle hValue, uint64_t nValue) = 0;
  // Makes the named manual-reset event, not set, or opens the one already there
  // and resets it; 0 when it can be neither.
  [[nodiscard]] virtual KernelHandle CreateEventByName(std::u16string_view sName) = 0;
  // Sets the named event that some process made; false when there is none.
  virtual bool SetEventByName(std::u16string_view sName) = 0;
  // True when the event is set; never waits.
  virtual bool IsEventSet(KernelHandle hEvent) = 0;
  virtual void Close(KernelHandle h) = 0;
};

template <>
ISessionSignals& Default<ISessionSignals>();
inline ISessionSignals& SessionSignals() { return Get<ISessionSignals>(); }

struct SessionSignalTraits {
  using Handle = KernelHandle;
  static Handle Invalid() { return 0; }
  static void Close(Handle h) { SessionSignals().Close(h); }
};
using ScopedSessionSignal = ScopedHandle<SessionSignalTraits>;

}  // namespace platform

}  // namespace twinsweep
