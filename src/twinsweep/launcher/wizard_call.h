#pragma once
// The wizard call: through Outlook's automation object, find the Twinsweep add-in
// among Outlook's COM add-ins and ask it to show its quick wizard.

namespace twinsweep {

namespace mMain {

constexpr char16_t kOutlookProgID[] = u"Outlook.Application";
constexpr char16_t kAddinProgID[] = u"Twinsweep.Connect";
constexpr char16_t kWizardCommand[] = u"ShowQuickWizard";

// Raises the automation's failures; when the add-in is not among Outlook's add-ins
// (or has no object) it raises 91 with a description that says so. Busy
// rejections of a starting Outlook are waited out for a bounded time. The calls
// are made from a worker thread; one that does not return within the call limit
// raises RPC_E_CALL_CANCELED here.
void CallQuickWizard();

}  // namespace mMain

}  // namespace twinsweep
