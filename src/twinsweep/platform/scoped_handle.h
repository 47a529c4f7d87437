#pragma once
// The owners of the handles the platform services hand out: ScopedHandle (see
// generic_scoped_handle.h) with traits that close through the service that opened
// the handle.
//
//   platform::ScopedFile hFile;
//   if (platform::Files().OpenForRead(sPath, hFile.Receive()) != platform::kErrorSuccess) return false;
//   platform::Files().Read(hFile.Get(), ...);   // closed on every way out
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/generic_scoped_handle.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/registry.h"
#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace platform {

// Closes go through the service current at the time of the close, as the open did.
struct FileTraits {
  using Handle = FileHandle;
  static Handle Invalid() { return kInvalidFile; }
  static void Close(Handle h) { Files().Close(h); }
};
struct FindTraits {
  using Handle = FileHandle;
  static Handle Invalid() { return kInvalidFile; }
  static void Close(Handle h) { Files().FindClose(h); }
};
struct RegKeyTraits {
  using Handle = HKey;
  static Handle Invalid() { return 0; }
  static void Close(Handle h) { Registry().CloseKey(h); }
};
struct KernelTraits {
  using Handle = KernelHandle;
  static Handle Invalid() { return 0; }
  static void Close(Handle h) { Processes().CloseHandle(h); }
};
struct WorkerTraits {
  using Handle = KernelHandle;
  static Handle Invalid() { return 0; }
  static void Close(Handle h) { WorkerThreads().Close(h); }
};

using ScopedFile = ScopedHandle<FileTraits>;
using ScopedFind = ScopedHandle<FindTraits>;
using ScopedKey = ScopedHandle<RegKeyTraits>;
using ScopedKernelHandle = ScopedHandle<KernelTraits>;
using ScopedWorker = ScopedHandle<WorkerTraits>;

}  // namespace platform

}  // namespace twinsweep
