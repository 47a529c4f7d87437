#pragma once
// What the user sees of the launcher: the shell's document opening and message
// boxes. The application itself (app.h) and the boxes' flags (message_box.h) are
// the engine's too.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/app.h"
#include "twinsweep/platform/message_box.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteExW(no owner, "open", target, no parameters, no folder,
  // SW_SHOWNORMAL, SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI): 0 when the target was
  // handed to its program, else the system's error (ERROR_NO_ASSOCIATION, ...),
  // shown by no box of the system's. The caller's thread must have joined a
  // single-threaded apartment (the handler of the verb may be a COM object). A
  // target with an inner NUL is not opened at all (ERROR_INVALID_PARAMETER).
  virtual uint32_t Open(std::u16string_view sTarget) = 0;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // MessageBoxW without an owner (not named MessageBox, a macro of <windows.h>); answers the button pressed (IDOK, IDYES, ...),
  // 0 without a box when a text holds a NUL (the box would show it cut short).
  virtual int32_t ShowMessageBox(std::u16string_view sText, std::u16string_view sCaption, uint32_t nType) = 0;
  // Brings to the front a message box that another process of this program (an
  // executable of the same file name) is showing; false when none is showing.
  virtual bool BringOtherInstanceBoxToFront() = 0;
};

template <>
IShell& Default<IShell>();
template <>
IDialogs& Default<IDialogs>();
inline IShell& Shell() { return Get<IShell>(); }
inline IDialogs& Dialogs() { return Get<IDialogs>(); }

}  // namespace platform

}  // namespace twinsweep
