#pragma once
/// The one accessor through which the program reaches the operating system.
///
/// Each service is an interface (IRegistry, IFiles, ...). Get<I>() answers the
/// build's real implementation unless a test has put a double in its place with
/// ScopedOverride, which restores the previous one when it goes out of scope.
/// Default<I>() is defined by the build's implementation folder (win32/ for the
/// Windows build, posix/ for the native build, whose registry and window framework
/// are the in-memory ones of memory/).

namespace twinsweep {
namespace platform {

/// The build's real implementation of the service I.
template <class I>
I& Default();

/// The one T of the program, made on its first use (thread-safe) and kept until
/// the program ends: what each implementation folder's Default<I>() answers.
template <class T>
T& StaticInstance() {
  static T instance;
  return instance;
}

/// Where a test's double of the service I is kept while it is set.
template <class I>
struct Slot {
  static inline I* pOverride = nullptr;  ///< the double, or null
};

/// The service I: a test's double while one is set, else the build's own.
template <class I>
I& Get() {
  I* p = Slot<I>::pOverride;
  return p ? *p : Default<I>();
}

/// Puts a double in the place of the service I for its lifetime, then restores
/// the one before.
template <class I>
class ScopedOverride {
 public:
  /// Makes replacement the service I.
  explicit ScopedOverride(I& replacement) : pPrevious_(Slot<I>::pOverride) { Slot<I>::pOverride = &replacement; }
  ~ScopedOverride() { Slot<I>::pOverride = pPrevious_; }
  ScopedOverride(const ScopedOverride&) = delete;
  ScopedOverride& operator=(const ScopedOverride&) = delete;

 private:
  I* pPrevious_;
};

}  // namespace platform

}  // namespace twinsweep
