#pragma once
// Doubles for the launcher's logic tests: a scripted kernel (mutexes that come and
// go on a virtual clock that Sleep advances, a process start that succeeds or
// fails), a message box with a scripted answer, and a fake Outlook object model
// (add-in entries, busy rejections, a record of every Execute call).
#include <chrono>
#include <condition_variable>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/apartment.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/automation.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/clock.h"
#include "twinsweep/platform/environment.h"
#include "twinsweep/platform/processes.h"
#include "support/fake_desktop.h"
#include "support/null_services.h"
#include "support/scoped_overrides.h"
#include "twinsweep/platform/session_window.h"
#include "twinsweep/platform/string_table.h"
#include "twinsweep/platform/worker_threads.h"

using namespace twinsweep;

namespace launcher_test {

constexpr uint64_t kNever = ~0ull;

// When a mutex exists on the virtual clock: from nFrom up to (not including) nUntil.
struct Presence {
  uint64_t nFrom = kNever;
  uint64_t nUntil = kNever;
  bool At(uint64_t t) const { return t >= nFrom && t < nUntil; }
};

class FakeProcesses : public platform::IProcesses, public platform::IClock, public platform::IEnvironment {
 public:
  struct Launch {
    std::u16string sApplicationName;
    std::u16string sCommandLine;
    uint32_t nCreationFlags;
    platform::StartupRecord startup;
    uint64_t nTime;
  };

  std::map<std::u16string, Presence> mutexes;
  // What the search of the system folders and PATH finds, by program file name
  // (compared without regard to case, as file names are).
  std::map<std::u16string, std::u16string> searchable;
  bool bLaunchSucceeds = true;
  // The environment's variables, for "%NAME%" references.
  std::map<std::u16string, std::u16string> environment;
  // When the started program ends (kNever: it runs on) and its exit code.
  uint64_t nProgramEndsAfterMs = kNever;
  uint32_t nProgramExitCode = 0;
  // Runs at a successful launch, e.g. to schedule the mutexes of the started program.
  std::function<void(FakeProcesses&)> onLaunch;

  uint64_t nNow = 1000;
  std::vector<uint32_t> accessRequested;
  std::vector<Launch> launches;
  std::vector<platform::KernelHandle> closed;
  int nOpenHandles = 0;
  int nProbes = 0;

  platform::KernelHandle OpenMutexByName(uint32_t nAccess, std::u16string_view sName) override {
    ++nProbes;
    accessRequested.push_back(nAccess);
    auto it = mutexes.find(std::u16string(sName));
    if (it == mutexes.end() || !it->second.At(nNow)) return 0;
    ++nOpenHandles;
    return 0x100 + nProbes;
  }
  // Mutexes this process made; one that the map shows present "already existed".
  std::vector<std::u16string> created;
  // The mutexes there refuse this process, as one made at other rights does.
  bool bMutexesRefused = false;
  platform::KernelHandle CreateMutexByName(std::u16string_view sName, bool* pbExisted) override {
    created.emplace_back(sName);
    auto it = mutexes.find(std::u16string(sName));
    *pbExisted = it != mutexes.end() && it->second.At(nNow);
    if (*pbExisted && bMutexesRefused) return 0;
    ++nOpenHandles;
    return 0x200;
  }
  bool HasEnded(platform::KernelHandle h, uint32_t* pnExitCode) override {
    if (h != 0x7001 || launches.empty() || nProgramEndsAfterMs == kNever ||
        nNow < launches.back().nTime + nProgramEndsAfterMs)
      return false;
    *pnExitCode = nProgramExitCode;
    return true;
  }
  bool CloseHandle(platform::KernelHandle h) override {
    closed.push_back(h);
    --nOpenHandles;
    return true;
  }
  bool LaunchProcess(std::u16string_view sApplicationName, std::u16string_view sCommandLine, uint32_t nFlags,
                     const platform::StartupRecord& startup, platform::ProcessRecord* p) override {
    launches.push_back({std::u16string(sApplicationName), std::u16string(sCommandLine), nFlags, startup, nNow});
    if (!bLaunchSucceeds) return false;
    p->hProcess = 0x7001;
    p->hThread = 0x7002;
    nOpenHandles += 2;
    if (onLaunch) onLaunch(*this);
    return true;
  }
  std::u16string ExpandEnvironment(std::u16string_view sText) override {
    std::u16string s(sText);
    for (const auto& [sName, sValue] : environment) s = base::Replace(s, u"%" + sName + u"%", sValue);
    return s;
  }
  std::u16string SearchExecutable(std::u16string_view sName) override {
    for (const auto& [sFile, sPath] : searchable)
      if (base::EqualsNoCase(sFile, sName)) return sPath;
    return u"";
  }
  std::map<std::u16string, uint64_t> runningFrom;
  bool ProgramRunsInSession(std::u16string_view sExeName) override {  // running from a moment on
    for (const auto& [sFile, nFrom] : runningFrom)
      if (base::EqualsNoCase(sFile, sExeName) && nNow >= nFrom) return true;
    return false;
  }
  // Runs after every pause, e.g. to act at a moment of a wait.
  std::function<void(FakeProcesses&)> onSleep;
  void Sleep(uint32_t nMilliseconds) override {
    nNow += nMilliseconds;
    if (onSleep) onSleep(*this);
  }
  uint64_t TickCount() override { return nNow; }
};

// A FakeProcesses in place of the processes, the clock and the environment.
using UseFakeProcesses = testing_support::ScopedOverrides<platform::IProcesses, platform::IClock, platform::IEnvironment>;

using testing_support::FakeApartment;

// The session window: a polite close arrives when the virtual clock reaches nCloseAt.
class FakeSessionWindow : public platform::ISessionWindow {
 public:
  explicit FakeSessionWindow(FakeProcesses& clock) : clock_(clock) {}
  uint64_t nCloseAt = kNever;
  bool Open(std::function<void(platform::SessionEnd)>) override { return true; }
  bool CloseRequested() override { return clock_.nNow >= nCloseAt; }

 private:
  FakeProcesses& clock_;
};

// The program's string table: lines from the first ID of the built-in texts on.
class FakeStringTable : public platform::IStringTable {
 public:
  std::vector<std::u16string> lines;
  uint32_t nFirstId = 0;
  std::optional<std::u16string> String(uint32_t nId) override {
    if (nId < nFirstId || nId - nFirstId >= lines.size()) return std::nullopt;
    return lines[nId - nFirstId];
  }
};

// Where a call of the fake model that never comes back blocks its thread, until
// the test lets it return; what the worker-threads double waits on as well.
struct HangGate {
  std::mutex mutex;
  std::condition_variable changed;
  bool bHung = false;      // a call is blocked
  bool bReleased = false;  // blocked calls return
};

// An object of the fake model: members by name, each a function of the arguments.
class FakeObject : public testing_support::NullAutomationObject {
 public:
  using Member = std::function<platform::AutomationResult(const platform::AutomationArgs&)>;
  FakeObject(std::function<void(std::u16string_view)> beforeCall) : beforeCall_(std::move(beforeCall)) {}
  ~FakeObject() override {
    if (onFinalRelease) onFinalRelease();
  }
  std::map<std::u16string, Member> members;
  std::function<void()> onFinalRelease;

  platform::AutomationResult Invoke(std::u16string_view sName, platform::InvokeKind,
                                    const platform::AutomationArgs& args) override {
    beforeCall_(sName);
    auto it = members.find(std::u16string(sName));
    if (it == members.end()) base::Raise(static_cast<int32_t>(0x80020006u), u"Unknown name.");  // DISP_E_UNKNOWNNAME
    return it->second(args);
  }

 private:
  std::function<void(std::u16string_view)> beforeCall_;
};

inline platform::AutomationResult ValueResult(base::Variant v) {
  platform::AutomationResult r;
  r.vValue = std::move(v);
  return r;
}
inline platform::AutomationResult ObjectResult(platform::AutomationObject o) {
  platform::AutomationResult r;
  r.bIsObject = true;
  r.oObject = std::move(o);
  return r;
}

// Outlook's object model as far as the launcher uses it.
class FakeOutlook : public platform::IAutomation {
 public:
  struct Entry {
    base::Variant vProgId;
    bool bHasObject = true;
  };
  struct Execute {
    int nEntry;  // index (from 1) of the entry whose object received the call
    std::vector<std::string> argKinds;
    std::u16string sCommand;
    bool bOutlookAlive;
  };

  explicit FakeOutlook(FakeProcesses& clock) : clock_(clock) {}

  std::vector<Entry> entries;
  // Failures of the first creations and of the first calls, and what each costs on the clock.
  int nFailCreations = 0;
  int32_t nCreationFailure = platform::kCoEServerExecFailure;
  int nRejectCalls = 0;
  int32_t nRejection = platform::kRpcECallRejected;
  uint32_t nCallCostMs = 0;
  // The call (or "CreateObject", or "Release": the final release of the
  // application object) that never comes back, and the failure every call of
  // sFailingCall raises.
  std::u16string sHungCall;
  std::u16string sFailingCall;
  int32_t nCallFailure = 0;
  std::u16string sCallFailureText = u"The call failed.";
  HangGate gate;

  int nCreations = 0;
  std::vector<std::u16string> calls;
  std::vector<int32_t> itemIndexes;
  std::vector<Execute> executes;

  uint64_t nFirstCreationAt = kNever;

  platform::AutomationObject CreateObject(std::u16string_view sProgID) override {
    if (nCreations++ == 0) nFirstCreationAt = clock_.nNow;
    clock_.nNow += nCallCostMs;
    if (sHungCall == u"CreateObject") Hang();
    if (sProgID != u"Outlook.Application") base::Raise(static_cast<int32_t>(0x800401F3u), u"Invalid class string");
    if (nFailCreations > 0) {
      --nFailCreations;
      base::Raise(nCreationFailure, u"Server execution failed");
    }
    auto app = NewObject();
    if (sHungCall == u"Release") app->onFinalRelease = [this] { Hang(); };
    std::weak_ptr<FakeObject> weakApp = app;
    auto col = NewObject();
    app->members[u"COMAddIns"] = [col](const platform::AutomationArgs&) { return ObjectResult(col); };
    col->members[u"Count"] = [this](const platform::AutomationArgs&) {
      return ValueResult(static_cast<int32_t>(entries.size()));
    };
    col->members[u"Item"] = [this, weakApp](const platform::AutomationArgs& args) {
      if (args.size() != 1 || args[0].kind != platform::AutomationArg::Kind::LongByRef)
        base::Raise(static_cast<int32_t>(0x80020005u), u"Type mismatch.");  // DISP_E_TYPEMISMATCH
      const int32_t n = *args[0].pnLong;
      itemIndexes.push_back(n);
      *args[0].pnLong = 999;  // a server may write to a by-reference argument
      if (n < 1 || n > static_cast<int32_t>(entries.size())) base::Raise(base::kSubscriptOutOfRange);
      return ObjectResult(NewEntry(n, weakApp));
    };
    return app;
  }

  static std::string KindOf(const platform::AutomationArg& a) {
    switch (a.kind) {
      case platform::AutomationArg::Kind::LongByRef: return "long&";
      case platform::AutomationArg::Kind::Object: return a.oObject ? "object" : "nothing";
      case platform::AutomationArg::Kind::Value: return a.vValue.IsText() ? "string" : "value";
    }
    return "?";
  }

 private:
  // Blocks until released; the call then goes on as if it had answered late.
  void Hang() {
    std::unique_lock<std::mutex> lock(gate.mutex);
    gate.bHung = true;
    gate.changed.notify_all();
    gate.changed.wait(lock, [&] { return gate.bReleased; });
  }

  std::shared_ptr<FakeObject> NewObject() {
    return std::make_shared<FakeObject>([this](std::u16string_view sName) {
      calls.emplace_back(sName);
      clock_.nNow += nCallCostMs;
      if (sName == sHungCall) Hang();
      if (sName == sFailingCall) base::Raise(nCallFailure, sCallFailureText);
      if (nRejectCalls > 0) {
        --nRejectCalls;
        base::Raise(nRejection, u"Call was rejected by callee.");
      }
    });
  }

  platform::AutomationObject NewEntry(int n, std::weak_ptr<FakeObject> weakApp) {
    auto entry = NewObject();
    const Entry& e = entries[static_cast<size_t>(n - 1)];
    entry->members[u"ProgId"] = [v = e.vProgId](const platform::AutomationArgs&) { return ValueResult(v); };
    bool bHasObject = e.bHasObject;
    entry->members[u"Object"] = [this, n, bHasObject, weakApp](const platform::AutomationArgs&) {
      if (!bHasObject) return ObjectResult(nullptr);
      auto addin = NewObject();
      addin->members[u"Execute"] = [this, n, weakApp](const platform::AutomationArgs& args) {
        Execute x{n, {}, u"", !weakApp.expired()};
        for (const auto& a : args) x.argKinds.push_back(KindOf(a));
        if (!args.empty() && args[0].vValue.IsText()) x.sCommand = args[0].vValue.AsText();
        executes.push_back(x);
        return ValueResult(base::Variant());
      };
      return ObjectResult(addin);
    };
    return entry;
  }

  FakeProcesses& clock_;
};

// Worker threads that are threads: a job whose call never comes back truly
// blocks its thread, which outlives the caller that gave it up. Waiting for a
// thread lasts until it has ended or blocked in such a call; on the virtual clock
// (clock given) a thread that is blocked lets that clock run by the time waited,
// in real time (no clock) a wait lasts at most nRealWaitMs. Threads left behind
// are released and joined by the next Start, by FinishLeftBehind and at the end.
class FakeWorkerThreads : public platform::IWorkerThreads {
 public:
  FakeWorkerThreads(FakeProcesses* clock, HangGate& gate) : clock_(clock), gate_(gate) {}
  FakeWorkerThreads(FakeProcesses& clock, FakeOutlook& outlook) : FakeWorkerThreads(&clock, outlook.gate) {}
  ~FakeWorkerThreads() { FinishLeftBehind(); }
  int nOpen = 0;
  std::chrono::milliseconds nRealWait{1};

  platform::KernelHandle Start(std::function<void()> job) override {
    FinishLeftBehind();
    ++nOpen;
    bEnded_ = false;
    threads_.emplace_back([this, job] {
      job();
      std::lock_guard<std::mutex> lock(gate_.mutex);
      bEnded_ = true;
      gate_.changed.notify_all();
    });
    return 0x900;
  }
  bool WaitForEnd(platform::KernelHandle, uint32_t nMilliseconds) override {
    std::unique_lock<std::mutex> lock(gate_.mutex);
    if (!clock_) return gate_.changed.wait_for(lock, nRealWait, [&] { return bEnded_; });
    gate_.changed.wait(lock, [&] { return bEnded_ || gate_.bHung; });
    if (bEnded_) return true;
    clock_->nNow += nMilliseconds;
    return false;
  }
  void Close(platform::KernelHandle) override { --nOpen; }

  // Lets blocked calls return and waits until every thread has ended.
  void FinishLeftBehind() {
    {
      std::lock_guard<std::mutex> lock(gate_.mutex);
      gate_.bReleased = true;
      gate_.changed.notify_all();
    }
    for (std::thread& t : threads_) t.join();
    threads_.clear();
    std::lock_guard<std::mutex> lock(gate_.mutex);
    gate_.bHung = gate_.bReleased = false;
  }

 private:
  FakeProcesses* clock_;
  HangGate& gate_;
  bool bEnded_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace launcher_test
