#pragma once
// Failures and the thread's pending error.
//
// A failing procedure throws a Failure. A handler that catches one makes it the
// pending error of the thread (Catch, or SetPending); the error log reads and
// clears it. The classic run-time numbers are kept so that callers and reports
// see the same numbers the product has always shown.
#include <cstdint>
#include <exception>
#include <string>

namespace twinsweep {

namespace base {

/// Run-time error numbers raised by the program's own conversions and collections.
enum RuntimeError : int32_t {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kFileNotFound = 53,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kObjectNotSet = 91,
  kInvalidUseOfNull = 94,
  kNoSuchMember = 438,
  kKeyAlreadyExists = 457,
  kAutomationError = 440,
};

/// The description the run-time gives for its own error numbers ("" when unknown).
std::u16string RuntimeDescription(int32_t nNumber);

/// A failure as the program raises it: a number, a description and the source
/// that raised it. A handler that catches one makes it the thread's pending error.
class Failure : public std::exception {
 public:
  /// A failure with the run-time's own description for nNumber.
  explicit Failure(int32_t nNumber);
  /// A failure with a description of its own, raised by sSource.
  Failure(int32_t nNumber, std::u16string sDescription, std::u16string sSource = u"");
  int32_t Number() const { return nNumber_; }                          ///< The failure's number.
  const std::u16string& Description() const { return sDescription_; }  ///< What failed.
  const std::u16string& Source() const { return sSource_; }            ///< Who raised it; may be empty.
  /// The description in UTF-8.
  const char* what() const noexcept override;

 private:
  int32_t nNumber_;
  std::u16string sDescription_;
  std::u16string sSource_;
  mutable std::string what_;
};

[[noreturn]] void Raise(int32_t nNumber);
[[noreturn]] void Raise(int32_t nNumber, std::u16string sDescription, std::u16string sSource = u"");

/// The thread's pending error: number 0 and an empty description mean "none".
struct PendingError {
  int32_t nNumber = 0;          ///< the failure's number
  std::u16string sDescription;  ///< its description
  std::u16string sSource;       ///< who raised it
  int32_t nLine = 0;            ///< the failing statement's line, 0 when it has none
};

const PendingError& Pending();
bool HasPending();
void SetPending(const Failure& oFailure, int32_t nLine = 0);
void ClearPending();

/// Makes whatever is being handled (a Failure, an allocation failure, any other
/// exception) the pending error. Call only inside a catch block.
void SetPendingFromCurrentException();

/// Runs f; a failure it raises becomes the pending error and the result is false.
/// This is the "on error, note it and go on" of every guarded step.
template <class F>
bool Catch(F&& f) {
  try {
    f();
    return true;
  } catch (...) {
    SetPendingFromCurrentException();
    return false;
  }
}

/// Runs f and ignores (clears) any failure it raises: a step whose failure is
/// deliberately of no consequence.
template <class F>
void Ignore(F&& f) {
  if (!Catch(static_cast<F&&>(f))) ClearPending();
}

}  // namespace base

}  // namespace twinsweep
