#pragma once
// What the diagnostics log needs of the system: the debugger's output channel, the
// local time, the process id, the user's local application data folder, appends to
// a file that several processes may write at once, and the text of a system error.
//
// No member raises and none reports through the error log (the log is their
// caller): a failure is an answer (false, -1, an empty text).
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
  virtual uint32_t ProcessId() = 0;
  // %LOCALAPPDATA%, without a trailing "\"; empty when the user has none.
  virtual std::u16string LocalAppDataFolder() = 0;
  // The file's size in bytes; -1 when it does not exist or cannot be asked.
  virtual int64_t FileSize(std::u16string_view sPath) = 0;
  // Appends the bytes at the file's end, creating the file; each call is one write,
  // so lines of processes appending at the same time do not mix. True when all
  // bytes were written.
  virtual bool AppendToFile(std::u16string_view sPath, std::string_view sBytes) = 0;
  // MoveFileExW(MOVEFILE_REPLACE_EXISTING): sFrom takes sTo's place.
  virtual bool MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) = 0;
  // Empties the existing file (its size becomes 0) while others may hold it open;
  // true when it is empty afterwards.
  virtual bool EmptyFile(std::u16string_view sPath) = 0;
  // Creates the folder and the missing ones above it; true when it exists afterwards.
  virtual bool CreateFolders(std::u16string_view sPath) = 0;
  // GetLastError, to be read right after the failed call it is about.
  virtual uint32_t LastError() = 0;
  // FormatMessageW's text for a system error code, without the line end; empty
  // when the system has none.
  virtual std::u16string ErrorText(uint32_t nError) = 0;
};

template <>
IDiagnostics& Default<IDiagnostics>();
inline IDiagnostics& Diagnostics() { return Get<IDiagnostics>(); }

}  // namespace platform

}  // namespace twinsweep
