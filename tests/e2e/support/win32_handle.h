#pragma once
// Win32Handle<Traits>: the owner of a raw Win32 handle in the scenarios and their
// helper programs: the product's ScopedHandle (header-only, without the platform
// services) with traits that close with the call that belongs to the handle.
// Reset() closes early where the moment of the close matters.
#include <windows.h>

#include "twinsweep/platform/generic_scoped_handle.h"

using namespace twinsweep;

namespace e2e {

// The product's owner, with the Win32 traits below.
template <class Traits>
using Win32Handle = platform::ScopedHandle<Traits>;

// Kernel objects whose opening call answers nullptr on failure (CreateMutexW,
// CreateEventW, OpenProcess, CreateJobObjectW, the handles of CreateProcessW).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
// Files: CreateFileW answers INVALID_HANDLE_VALUE on failure.
struct FileHandleTraits : KernelHandleTraits {
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
};
// Searches of FindFirstFileW, which answers INVALID_HANDLE_VALUE on failure too.
struct FindHandleTraits : FileHandleTraits {
  static void Close(Handle h) { FindClose(h); }
};
// Registry keys opened or created by the test (never the predefined roots).
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};

using OwnedHandle = Win32Handle<KernelHandleTraits>;
using OwnedFile = Win32Handle<FileHandleTraits>;
using OwnedFind = Win32Handle<FindHandleTraits>;
using OwnedKey = Win32Handle<RegKeyTraits>;

}  // namespace e2e
