#pragma once
// Win32Handle<Traits>: the one owner of a raw Win32 handle in the scenarios and
// their helper programs (header-only, so that the programs may include it).
//
// It closes its handle with the call that belongs to it when it goes out of scope,
// so that a handle cannot leak on an early return or a thrown failure. Copying is
// deleted; moving hands the handle on. Reset() closes early where the moment of the
// close matters; Take() gives the handle back to a caller who closes it by hand.
//
// Traits give the handle type, the value its opening call answers on failure, and
// the close:
//   struct Traits { using Handle = ...; static Handle Invalid(); static void Close(Handle); };
#include <windows.h>

#include <utility>

namespace e2e {

template <class Traits>
class Win32Handle {
 public:
  using Handle = typename Traits::Handle;

  Win32Handle() = default;
  explicit Win32Handle(Handle h) : h_(h) {}
  ~Win32Handle() { Reset(); }
  Win32Handle(const Win32Handle&) = delete;
  Win32Handle& operator=(const Win32Handle&) = delete;
  Win32Handle(Win32Handle&& other) noexcept : h_(other.Take()) {}
  Win32Handle& operator=(Win32Handle&& other) noexcept {
    if (this != &other) Reset(other.Take());
    return *this;
  }

  bool IsValid() const { return h_ != Traits::Invalid(); }
  Handle Get() const { return h_; }
  // Closes the handle held so far and holds h.
  void Reset(Handle h = Traits::Invalid()) {
    if (IsValid()) Traits::Close(h_);
    h_ = h;
  }
  // Closes what is held and answers where an opening call may store a new handle.
  Handle* Receive() {
    Reset();
    return &h_;
  }
  // Gives up ownership: the caller closes the handle.
  [[nodiscard]] Handle Take() { return std::exchange(h_, Traits::Invalid()); }

 private:
  Handle h_ = Traits::Invalid();
};

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
