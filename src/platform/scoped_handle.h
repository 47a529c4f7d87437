#pragma once
// ScopedHandle<Traits>: the one owner of a handle the platform services hand out.
//
// It closes its handle through the service that opened it when it goes out of
// scope, so a handle cannot leak on an early return or a raised failure. Copying
// is deleted; moving hands the handle on. Take() gives the handle back to the
// caller, who then closes it by hand (only where the order of closes matters).
//
//   platform::ScopedFile hFile;
//   if (platform::Files().OpenForRead(sPath, hFile.Receive()) != platform::kErrorSuccess) return false;
//   platform::Files().Read(hFile.Get(), ...);   // closed on every way out
//
// Traits give the handle type, the "no handle" value and the close:
//   struct Traits { using Handle = ...; static Handle Invalid(); static void Close(Handle); };
// Close may also be an ordinary member: the owner then keeps the traits object it
// was given (for instance the service to close through) and moves it with the handle.
#include <utility>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"

namespace platform {

template <class Traits>
class ScopedHandle : private Traits {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle h, Traits traits = Traits()) : Traits(std::move(traits)), h_(h) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : Traits(std::move(other.traits())), h_(other.Take()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Reset(other.Take());  // the handle held so far is closed the way it was to be
      traits() = std::move(other.traits());
    }
    return *this;
  }

  bool IsValid() const { return h_ != Traits::Invalid(); }
  Handle Get() const { return h_; }
  // Closes the handle held so far and holds h.
  void Reset(Handle h = Traits::Invalid()) {
    if (IsValid()) {
      // A close has nobody to report to here; a double that raises must not end the program.
      try {
        Traits::Close(h_);
      } catch (...) {
      }
    }
    h_ = h;
  }
  // Closes what is held and answers where an open call may store a new handle.
  Handle* Receive() {
    Reset();
    return &h_;
  }
  // Gives up ownership: the caller closes the handle.
  [[nodiscard]] Handle Take() { return std::exchange(h_, Traits::Invalid()); }

 private:
  Traits& traits() { return *this; }

  Handle h_ = Traits::Invalid();
};

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

using ScopedFile = ScopedHandle<FileTraits>;
using ScopedFind = ScopedHandle<FindTraits>;
using ScopedKey = ScopedHandle<RegKeyTraits>;
using ScopedKernelHandle = ScopedHandle<KernelTraits>;

}  // namespace platform
