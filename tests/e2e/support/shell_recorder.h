#pragma once
// Observes what the shell is asked to open.
//
// While a ShellOpenRecorder lives, the system's own registrations send the shell's
// "open" of http and https addresses and of .chm files to shell_open_recorder.exe, which
// appends the target it was given, one line each, to a file of this object. So a
// program under test goes through the real ShellExecuteW, and the test reads exactly
// which targets reached a handler. Registrations are under HKEY_CLASSES_ROOT (Wine
// does not read per-user class registrations) and are restored afterwards.
#include <memory>
#include <string>
#include <vector>

#include "support/registry.h"
#include "support/temp_folder.h"

namespace e2e {

class ShellOpenRecorder {
 public:
  ShellOpenRecorder();
  ~ShellOpenRecorder();
  ShellOpenRecorder(const ShellOpenRecorder&) = delete;
  ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

  // The targets recorded so far, in the order the handler was started.
  std::vector<std::wstring> Targets() const;
  void Clear() const;

 private:
  testing_support::TempFolder folder_;
  std::wstring sRecordFile_;
  std::vector<std::unique_ptr<ScopedRegistryValue>> registrations_;
};

}  // namespace e2e
