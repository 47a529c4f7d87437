#pragma once
// Named mutexes, process start and the look for a running program, in the
// vocabulary of the Windows kernel functions (wide forms).
//
// Handles are pointer-sized; 0 means "no handle". The program opens mutexes that
// other programs own and closes them at once; it never waits on one. The one it
// makes (one launch at a time) it holds until its launch sequence ends, and the
// process it starts it may watch until it has what it waits for.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

using KernelHandle = std::intptr_t;

constexpr uint32_t kSynchronize = 0x00100000;    // SYNCHRONIZE
constexpr uint32_t kStartfUseShowWindow = 1;     // STARTF_USESHOWWINDOW
constexpr uint16_t kSwShowMinimized = 2;         // SW_SHOWMINIMIZED
constexpr uint32_t kNormalPriorityClass = 0x20;  // NORMAL_PRIORITY_CLASS

// The fields of STARTUPINFOW that the program sets. The implementation starts from
// a zeroed record whose size field is the platform's own record size.
struct StartupRecord {
  uint32_t dwFlags = 0;
  uint16_t wShowWindow = 0;
};

// PROCESS_INFORMATION: the new process's handles, which the caller must close.
struct ProcessRecord {
  KernelHandle hProcess = 0;
  KernelHandle hThread = 0;
  uint32_t dwProcessId = 0;
  uint32_t dwThreadId = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  // OpenMutexW(nDesiredAccess, no inheritance, sName): a handle, or 0 when no
  // mutex of that name exists or it refuses the access (or the name holds a NUL).
  [[nodiscard]] virtual KernelHandle OpenMutexByName(uint32_t nDesiredAccess, std::u16string_view sName) = 0;
  // CreateMutexW(no security attributes, not owned, sName): a handle to the mutex,
  // made now or already there (*pbExisted, ERROR_ALREADY_EXISTS); 0 when it can be
  // neither made nor opened. A mutex that is there but refuses this process
  // (ERROR_ACCESS_DENIED: one made at other rights) answers 0 with *pbExisted
  // true.
  [[nodiscard]] virtual KernelHandle CreateMutexByName(std::u16string_view sName, bool* pbExisted) = 0;
  // Whether the process of hProcess has ended (WaitForSingleObject with no wait),
  // and then its exit code (GetExitCodeProcess). False while it runs, or when it
  // cannot be asked.
  virtual bool HasEnded(KernelHandle hProcess, uint32_t* pnExitCode) = 0;
  // CloseHandle: true when the handle was closed.
  virtual bool CloseHandle(KernelHandle hObject) = 0;
  // CreateProcessW(sApplicationName, a writable copy of sCommandLine, no security
  // attributes, no inheritance, nCreationFlags, the caller's environment and
  // current folder, the start-up record, *pProcess). The system starts exactly the
  // file sApplicationName (a full path) and hands it sCommandLine unchanged.
  // False, without a start, when either holds a NUL.
  [[nodiscard]] virtual bool LaunchProcess(std::u16string_view sApplicationName, std::u16string_view sCommandLine,
                                           uint32_t nCreationFlags, const StartupRecord& startup,
                                           ProcessRecord* pProcess) = 0;
  // The full path of the program file sName (a bare file name such as
  // "OUTLOOK.EXE") in the system folder, the Windows folder or a folder of the
  // search path (PATH), in that order; never the current folder, nor a relative
  // folder of the search path. Empty when none of them holds it.
  virtual std::u16string SearchExecutable(std::u16string_view sName) = 0;
  // Whether a process whose program file is named sExeName (compared without
  // regard to case) runs in this process's session.
  virtual bool ProgramRunsInSession(std::u16string_view sExeName) = 0;
};

template <>
IProcesses& Default<IProcesses>();
inline IProcesses& Processes() { return Get<IProcesses>(); }

}  // namespace platform

}  // namespace twinsweep
