#pragma once
// The rights the program runs with, measured against the desktop's: the
// integrity level of its own process and of the desktop shell's, and a start of
// the program again through the desktop's shell, which starts programs with the
// rights of the desktop rather than the caller's.
#include <cstdint>
#include <string_view>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

// Integrity levels (the last sub-authority of a token's mandatory label).
constexpr uint32_t kIntegrityMedium = 0x2000;
constexpr uint32_t kIntegrityHigh = 0x3000;

class IDesktopRights {
 public:
  virtual ~IDesktopRights() = default;
  // The integrity level of this process's token; 0 when it cannot be read.
  virtual uint32_t OwnIntegrity() = 0;
  // The integrity level of the process that owns the desktop's shell window
  // (GetShellWindow); 0 when there is no shell window or it cannot be asked.
  virtual uint32_t ShellIntegrity() = 0;
  // Starts this program's file again with sArgs through the shell of the user's
  // desktop (IShellWindows::FindWindowSW(SWC_DESKTOP), its view's
  // IShellFolderViewDual, IShellDispatch2::ShellExecute). The calling thread must
  // have joined a single-threaded apartment. 0 when the shell took the start,
  // else the failure (an HRESULT; S_FALSE when there is no desktop window).
  virtual int32_t StartAgainThroughDesktopShell(std::u16string_view sArgs) = 0;
};

template <>
IDesktopRights& Default<IDesktopRights>();
inline IDesktopRights& DesktopRights() { return Get<IDesktopRights>(); }

}  // namespace platform

}  // namespace twinsweep
