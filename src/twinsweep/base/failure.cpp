#include "twinsweep/base/failure.h"

#include <new>

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace base {

std::u16string RuntimeDescription(int32_t nNumber) {
  switch (nNumber) {
    case kInvalidProcedureCall: return u"Invalid procedure call or argument";
    case kOverflow: return u"Overflow";
    case kOutOfMemory: return u"Out of memory";
    case kSubscriptOutOfRange: return u"Subscript out of range";
    case kTypeMismatch: return u"Type mismatch";
    case kFileNotFound: return u"File not found";
    case kPathFileAccessError: return u"Path/File access error";
    case kPathNotFound: return u"Path not found";
    case kObjectNotSet: return u"Object variable or With block variable not set";
    case kInvalidUseOfNull: return u"Invalid use of Null";
    case kNoSuchMember: return u"Object doesn't support this property or method";
    case kKeyAlreadyExists: return u"This key is already associated with an element of this collection";
    case kAutomationError: return u"Automation error";
    default: return u"";
  }
}

Failure::Failure(int32_t nNumber) : Failure(nNumber, RuntimeDescription(nNumber)) {}

Failure::Failure(int32_t nNumber, std::u16string sDescription, std::u16string sSource)
    : nNumber_(nNumber), sDescription_(std::move(sDescription)), sSource_(std::move(sSource)) {}

const char* Failure::what() const noexcept {
  try {
    what_ = "Error " + std::to_string(nNumber_) + ": " + ToUtf8(sDescription_);
    return what_.c_str();
  } catch (...) { return "Failure"; }
}

void Raise(int32_t nNumber) { throw Failure(nNumber); }
void Raise(int32_t nNumber, std::u16string sDescription, std::u16string sSource) {
  throw Failure(nNumber, std::move(sDescription), std::move(sSource));
}

namespace {
thread_local PendingError tPending;
}

const PendingError& Pending() { return tPending; }
bool HasPending() { return tPending.nNumber != 0; }

void SetPending(const Failure& oFailure, int32_t nLine) {
  tPending.nNumber = oFailure.Number();
  tPending.sDescription = oFailure.Description();
  tPending.sSource = oFailure.Source();
  tPending.nLine = nLine;
}

void ClearPending() { tPending = PendingError{}; }

void SetPendingFromCurrentException() {
  try {
    throw;
  } catch (const Failure& f) { SetPending(f); } catch (const std::bad_alloc&) {
    SetPending(Failure(kOutOfMemory));
  } catch (const std::exception& e) {
    // A library fault that is not one of ours still must not escape a handler.
    SetPending(Failure(kInvalidProcedureCall, FromUtf8(e.what())));
  } catch (...) { SetPending(Failure(kInvalidProcedureCall)); }
}

}  // namespace base

}  // namespace twinsweep
