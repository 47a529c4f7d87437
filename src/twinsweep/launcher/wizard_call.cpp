#include "twinsweep/launcher/wizard_call.h"

#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/automation.h"
#include "twinsweep/launcher/automation_retry.h"
#include "twinsweep/launcher/automation_worker.h"

namespace twinsweep {

namespace mMain {
namespace {

using platform::AutomationArg;
using platform::AutomationObject;
using platform::InvokeKind;

// A call on an object reference; an empty one fails as a call on "Nothing" does.
platform::AutomationResult Call(const AutomationObject& o, std::u16string_view sName, InvokeKind kind,
                                const platform::AutomationArgs& args = {}) {
  if (!o) base::Raise(base::kObjectNotSet);
  return o->Invoke(sName, kind, args);
}

AutomationObject ObjectOf(const platform::AutomationResult& r) {
  if (!r.bIsObject) base::Raise(base::kTypeMismatch);
  return r.oObject;
}

// Item(nIndex) of the add-in collection, the index passed by reference. A copy is
// passed so that a server that writes to it cannot disturb the caller's loop.
AutomationObject AddinEntry(const AutomationObject& colAddins, int32_t nIndex) {
  int32_t nItem = nIndex;
  return ObjectOf(Call(colAddins, u"Item", InvokeKind::MethodOrPropertyGet, {AutomationArg::LongByRef(nItem)}));
}

// The entry's ProgId is ours: a text equal to it exactly. A missing (empty or
// null) ProgId is simply not ours.
bool IsOurAddin(const AutomationObject& oEntry) {
  const base::Variant vProgId = Call(oEntry, u"ProgId", InvokeKind::PropertyGet).vValue;
  return vProgId.IsText() && vProgId.AsText() == kAddinProgID;
}

std::u16string MissingAddinDescription(bool bListed) {
  const std::u16string sAddin = u"The add-in \"" + std::u16string(kAddinProgID) + u"\" ";
  const std::u16string sWhy = bListed ? u"is listed among Outlook's COM add-ins but has no object: it is not connected."
                                      : u"is not among Outlook's COM add-ins.";
  return sAddin + sWhy + u" (" + base::RuntimeDescription(base::kObjectNotSet) + u")";
}

// The whole call, on the worker: nothing here refers to the caller's thread,
// which may stop waiting for it.
void CallQuickWizardWith(platform::IAutomation& automation) {
  mMain::RetryingAutomation oAutomation(automation);
  // Outlook's object is held until the wizard call is made: an Outlook that was
  // started for automation may end when its last reference is released.
  AutomationObject oOutlook = oAutomation.CreateObject(kOutlookProgID);
  AutomationObject oAddin;
  bool bListed = false;
  {
    AutomationObject colAddins = ObjectOf(Call(oOutlook, u"COMAddIns", InvokeKind::PropertyGet));
    const int32_t nCount = base::CLng(Call(colAddins, u"Count", InvokeKind::PropertyGet).vValue);
    for (int32_t i = 1; i <= nCount; ++i) {
      if (IsOurAddin(AddinEntry(colAddins, i))) {
        bListed = true;
        oAddin = ObjectOf(Call(AddinEntry(colAddins, i), u"Object", InvokeKind::PropertyGet));
        break;
      }
    }
  }
  // A call on the missing object would fail with 91 alone; the user is told why.
  if (!oAddin) base::Raise(base::kObjectNotSet, MissingAddinDescription(bListed));
  Call(oAddin, u"Execute", InvokeKind::Method,
       {AutomationArg::Value(std::u16string(kWizardCommand)), AutomationArg::Object(nullptr)});
}

}  // namespace

void CallQuickWizard() { RunWithCallLimit(CallQuickWizardWith); }

}  // namespace mMain

}  // namespace twinsweep
