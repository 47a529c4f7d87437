#pragma once
// The one accessor through which the program reaches the operating system.
//
// Each service is an interface (IRegistry, IFiles, ...). Get<I>() answers the
// build's real implementation unless a test has put a double in its place with
// ScopedOverride, which restores the previous one when it goes out of scope.
// Default<I>() is defined by the build's implementation folder (win32/ for the
// Windows build, posix/ for the native build, whose registry and window framework
// are the in-memory ones of memory/).

namespace twinsweep {
namespace platform {

template <class I>
I& Default();

template <class I>
struct Slot {
  static inline I* pOverride = nullptr;
};

template <class I>
I& Get() {
  I* p = Slot<I>::pOverride;
  return p ? *p : Default<I>();
}

template <class I>
class ScopedOverride {
 public:
  explicit ScopedOverride(I& replacement) : pPrevious_(Slot<I>::pOverride) {
    Slot<I>::pOverride = &replacement;
  }
  ~ScopedOverride() { Slot<I>::pOverride = pPrevious_; }
  ScopedOverride(const ScopedOverride&) = delete;
  ScopedOverride& operator=(const ScopedOverride&) = delete;

 private:
  I* pPrevious_;
};

}  // namespace platform

}  // namespace twinsweep
