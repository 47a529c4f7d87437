#pragma once
// ScopedHandle<Traits>: the one owner of a handle, whatever closes it.
//
// It closes its handle when it goes out of scope, so a handle cannot leak on an
// early return or a raised failure. Copying is deleted; moving hands the handle
// on. Take() gives the handle back to the caller, who then closes it by hand
// (only where the order of closes matters).
//
// Traits give the handle type, the "no handle" value and the close:
//   struct Traits { using Handle = ...; static Handle Invalid(); static void Close(Handle); };
// Close may also be an ordinary member: the owner then keeps the traits object it
// was given (for instance the service to close through) and moves it with the handle.
//
// This header depends on nothing, so that programs outside the product (the
// Windows test helpers) use the same owner with traits of their own.
#include <utility>

namespace twinsweep {

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
      } catch (...) {}
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

}  // namespace platform

}  // namespace twinsweep
