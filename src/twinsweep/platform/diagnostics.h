#pragma once
// What the diagnostics log needs of the system besides its file (IFiles) and the
// process id (IThisProcess): the debugger's output channel, the local time, the
// user's local application data folder and the text of a system error.
//
// No member raises and none reports through the error log (the log is their
// caller): a failure is an empty text.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/files.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IDiagnostics {
 public:
  virtual ~IDiagnostics() = default;
  // OutputDebugStringW: shown by an attached debugger or a viewer such as DebugView.
  virtual void DebugOutput(std::u16string_view sText) = 0;
  // GetLocalTime: the local time now, to the millisecond.
  virtual SystemTime LocalTime() = 0;
  // %LOCALAPPDATA%, without a trailing "\"; empty when the user has none.
  virtual std::u16string LocalAppDataFolder() = 0;
  // FormatMessageW's text for a system error code, without the line end; empty
  // when the system has none.
  virtual std::u16string ErrorText(uint32_t nError) = 0;
};

template <>
IDiagnostics& Default<IDiagnostics>();
inline IDiagnostics& Diagnostics() { return Get<IDiagnostics>(); }

}  // namespace platform

}  // namespace twinsweep
