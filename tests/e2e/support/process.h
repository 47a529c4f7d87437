#pragma once
// A program started for a scenario, together with every process it starts in turn
// (the shell's handlers, for example). All of them run in one job object: the test
// can wait until the whole tree has ended, and whatever is left when the object
// goes away is ended with it, so one failed scenario does not leave a message box
// behind for the next.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/win32_handle.h"

namespace e2e {

// Changes to the test's own environment for the child: a value sets the variable,
// nullopt removes it. Names compare without regard to case, as Windows does.
using EnvironmentChanges = std::vector<std::pair<std::wstring, std::optional<std::wstring>>>;

class ProcessTree {
 public:
  // Starts sProgram with the command line "sProgram" & " " & sArgs (just the quoted
  // program when sArgs is empty), so the program sees sArgs as its argument text.
  ProcessTree(const std::wstring& sProgram, const std::wstring& sArgs, const EnvironmentChanges& environment = {},
              const std::wstring& sWorkingFolder = std::wstring());
  ~ProcessTree();
  ProcessTree(const ProcessTree&) = delete;
  ProcessTree& operator=(const ProcessTree&) = delete;

  DWORD Id() const { return nProcessId_; }
  // True when the started program itself has ended within the time.
  bool WaitForExit(DWORD nTimeoutMs) const;
  // The started program's exit code, nullopt while it runs.
  std::optional<DWORD> ExitCode() const;
  // True when every process of the tree has ended within the time.
  bool WaitForTreeExit(DWORD nTimeoutMs) const;
  // Ends every process of the tree now.
  void Terminate() const;

 private:
  // Declared in this order so that the process handle is closed before the job,
  // whose close ends whatever of the tree is left.
  OwnedHandle job_;
  OwnedHandle process_;
  DWORD nProcessId_ = 0;
};

}  // namespace e2e
