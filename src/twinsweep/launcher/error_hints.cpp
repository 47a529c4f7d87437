#include "twinsweep/launcher/error_hints.h"

#include "twinsweep/base/failure.h"
#include "twinsweep/launcher/automation_worker.h"
#include "twinsweep/platform/automation.h"

namespace twinsweep {

namespace mMain {

std::u16string HintKeyOf(int32_t nNumber, std::u16string_view sDescription) {
  using namespace platform;
  // The whole job's give-up shares its number with a call's; the wizard may be
  // open by then, so the user is told to look for it before trying again.
  if (nNumber == kRpcECallCanceled && sDescription.rfind(kJobGivenUpText, 0) == 0) return kHintNoEnd;
  switch (nNumber) {
    case kRpcEDisconnected:
    case kRpcSServerUnavailable:
    case kRpcSCallFailed:
    case kRpcEServerFault: return kHintOutlookClosed;
    case kRpcECallRejected:
    case kRpcEServerCallRetryLater: return kHintOutlookBusy;
    case kRpcECallCanceled: return kHintNoAnswer;
    case kEAccessDenied:
    case kCoEServerExecFailure: return kHintOtherRights;
    case kRegDbEClassNotReg:
    case kCoEClassString:
    case kMkEUnavailable:
    // The add-in is not among Outlook's COM add-ins, or has no object.
    case base::kObjectNotSet: return kHintNotInstalled;
    default: return u"";
  }
}

}  // namespace mMain

}  // namespace twinsweep
