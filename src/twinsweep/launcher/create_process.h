#pragma once
// mCreateProcess: the two general process operations the launcher needs, a probe
// for a named mutex and the start of a program from a command line. Neither
// raises: both answer only through their result.
#include <string>

#include "twinsweep/platform/processes.h"

namespace twinsweep {

namespace mCreateProcess {

// True when a mutex of that name exists and can be opened for synchronisation.
// The handle is closed again before the answer.
bool MutexExists(const std::u16string& sName);
// Starts the program file that sCommandLine names (ApplicationName) with
// sCommandLine unchanged as its command line, without waiting for it; with
// bMinimized the program is asked to show itself minimised. True when the process
// was created; false, without a try, when no program file could be named.
bool StartProcess(const std::u16string& sCommandLine, bool bMinimized);
// The same, but the new process's handle is handed to the caller (*phProcess),
// who closes it; its thread's handle is closed at once.
bool StartProcess(const std::u16string& sCommandLine, bool bMinimized, platform::KernelHandle* phProcess);

}  // namespace mCreateProcess

}  // namespace twinsweep
