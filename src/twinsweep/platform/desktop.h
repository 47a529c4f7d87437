#pragma once
// What the user sees and what the program knows of itself: the shell's document
// opening, message boxes, the command line and the application's folder.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

constexpr uint32_t kMbOk = 0;
constexpr uint32_t kMbYesNo = 4;
constexpr uint32_t kMbRight = 0x00080000;       // MB_RIGHT: the text aligned right
constexpr uint32_t kMbRtlReading = 0x00100000;  // MB_RTLREADING: read right to left, the box mirrored
constexpr int32_t kIdOk = 1;
constexpr int32_t kIdCancel = 2;
constexpr int32_t kIdYes = 6;
constexpr int32_t kIdNo = 7;

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

class IApp {
 public:
  virtual ~IApp() = default;
  // The folder of the program's executable, without a trailing "\".
  virtual std::u16string AppFolder() = 0;
  // The raw command line minus the program's name: the whole rest, one string.
  virtual std::u16string CommandLineArgs() = 0;
  // False when the program's start could not restrict the DLL search to the
  // system folder (a Windows without SetDefaultDllDirectories) and fell back to
  // leaving out the current folder only.
  virtual bool DllSearchRestricted() = 0;
  // True when the system's text shaping knows the directional isolates (FSI, LRI,
  // RLI, PDI: Windows 10 and later); older systems draw them as nothing at best.
  virtual bool ShapingKnowsIsolates() = 0;
};

template <>
IShell& Default<IShell>();
template <>
IDialogs& Default<IDialogs>();
template <>
IApp& Default<IApp>();
inline IShell& Shell() { return Get<IShell>(); }
inline IDialogs& Dialogs() { return Get<IDialogs>(); }
inline IApp& App() { return Get<IApp>(); }

}  // namespace platform

}  // namespace twinsweep
