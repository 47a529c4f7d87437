#pragma once
// The base of the launcher's fixtures: the services that the tests of its entry
// and of its launch sequence both replace (a memory registry, the application,
// scripted message boxes, the apartment), each in place for the test's lifetime.
#include <gtest/gtest.h>

#include "support/fake_desktop.h"
#include "support/scoped_overrides.h"
#include "twinsweep/platform/apartment.h"
#include "twinsweep/platform/memory/memory_registry.h"

namespace testing_support {

class LauncherFixture : public ::testing::Test {
 protected:
  platform::MemoryRegistry reg_;
  FakeApp app_;
  ScriptedDialogs dialogs_;
  FakeApartment apartment_;

 private:
  platform::ScopedOverride<platform::IRegistry> useReg_{reg_};
  ScopedOverrides<platform::IApp, platform::IProgramStart> useApp_{app_};
  platform::ScopedOverride<platform::IDialogs> useDialogs_{dialogs_};
  platform::ScopedOverride<platform::IApartment> useApartment_{apartment_};
};

}  // namespace testing_support
