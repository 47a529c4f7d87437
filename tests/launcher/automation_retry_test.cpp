// Which failures are retried, and RetryingAutomation's wrappers: a wrapped
// reference passed back as an argument must still reach the implementation's own
// object.
#include <gtest/gtest.h>

#include "launcher/launcher_doubles.h"
#include "twinsweep/launcher/automation_retry.h"

using namespace twinsweep;

namespace {

TEST(RetryingAutomationTest, WrappedObjectsKeepTheirTarget) {
  launcher_test::FakeProcesses sys;
  launcher_test::FakeOutlook outlook(sys);
  launcher_test::UseFakeProcesses useSys(sys);
  mMain::RetryingAutomation automation(outlook);

  platform::AutomationObject app = automation.CreateObject(u"Outlook.Application");
  platform::AutomationObject col = app->Invoke(u"COMAddIns", platform::InvokeKind::PropertyGet, {}).oObject;
  ASSERT_TRUE(col);
  // Two calls hand out two wrappers of the same collection object.
  platform::AutomationObject again = app->Invoke(u"COMAddIns", platform::InvokeKind::PropertyGet, {}).oObject;
  EXPECT_NE(col.get(), again.get());
  EXPECT_EQ(&col->Target(), &again->Target());
  EXPECT_NE(&col->Target(), col.get());
}

TEST(RetryingAutomationTest, EmptyReferencesStayEmpty) {
  launcher_test::FakeProcesses sys;
  launcher_test::FakeOutlook outlook(sys);
  outlook.entries = {{u"Twinsweep.Connect", false}};
  launcher_test::UseFakeProcesses useSys(sys);
  mMain::RetryingAutomation automation(outlook);

  auto col = automation.CreateObject(u"Outlook.Application")
                 ->Invoke(u"COMAddIns", platform::InvokeKind::PropertyGet, {})
                 .oObject;
  int32_t n = 1;
  auto entry = col->Invoke(u"Item", platform::InvokeKind::MethodOrPropertyGet,
                           {platform::AutomationArg::LongByRef(n)})
                   .oObject;
  platform::AutomationResult r = entry->Invoke(u"Object", platform::InvokeKind::PropertyGet, {});
  EXPECT_TRUE(r.bIsObject);
  EXPECT_FALSE(r.oObject);
}

TEST(AutomationRetryTest, RetryClasses) {
  using mMain::RetryClass;
  struct Row {
    int32_t nNumber;
    RetryClass onCreation, onCall;
  };
  const Row rows[] = {
      {platform::kRpcECallRejected, RetryClass::kBusy, RetryClass::kBusy},
      {platform::kRpcEServerCallRetryLater, RetryClass::kBusy, RetryClass::kBusy},
      {platform::kCoEServerExecFailure, RetryClass::kActivation, RetryClass::kNone},
      {platform::kCoEServerStopping, RetryClass::kActivation, RetryClass::kNone},
      {platform::kCoEServerStartTimeout, RetryClass::kActivation, RetryClass::kNone},
      {platform::kRegDbEClassNotReg, RetryClass::kNone, RetryClass::kNone},
      {platform::kEAccessDenied, RetryClass::kNone, RetryClass::kNone},
      {platform::kRpcECallCanceled, RetryClass::kNone, RetryClass::kNone},
      {platform::kRpcEDisconnected, RetryClass::kNone, RetryClass::kNone},
      {base::kObjectNotSet, RetryClass::kNone, RetryClass::kNone},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(mMain::RetryClassOf(row.nNumber, true), row.onCreation) << std::hex << row.nNumber;
    EXPECT_EQ(mMain::RetryClassOf(row.nNumber, false), row.onCall) << std::hex << row.nNumber;
  }
}

}  // namespace
