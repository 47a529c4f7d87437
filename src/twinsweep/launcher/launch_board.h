#pragma once
// The launch sequence's state, published beside its mutex so that a second
// launcher can tell what the first one is doing and ask it to stop waiting.
//
// The launcher that holds the launch mutex makes a named value holding its
// phase, its process id and a generation, and a named event of its own that
// another launcher sets to make it end its wait. A holder of the mutex that
// publishes no state is not a launcher.
//
// The stop event is per waiter, named for its process id and generation, rather
// than one shared event: a second launcher whose user answers late can only set
// the event of the waiter it asked. A launcher that took over meanwhile has an
// event of another name, so no answer meant for its predecessor can end its
// wait, even one given between the re-read of the state and the set.
#include <cstdint>
#include <optional>
#include <string>

#include "twinsweep/platform/session_signals.h"

namespace twinsweep {

namespace mMain {

constexpr char16_t kLaunchStateName[] = u"Local\\Orvex.TwinsweepLauncher.State";
// The stop events' names: this, then ".<process id>.<generation>".
constexpr char16_t kStopWaitingEvent[] = u"Local\\Orvex.TwinsweepLauncher.StopWaiting";

// The phases a second launcher tells apart. kStarting is also what a launcher
// shows between making its state and publishing its first phase.
enum class LaunchPhase : uint32_t {
  kStarting = 0,
  kAsking = 1,
  kWaitingForOutlook = 2,
  kWaitingForAddin = 3,
  kCalling = 4,
};

// What the holder of the launch mutex publishes, as one 64-bit value: the phase
// in the low 8 bits, the generation in the next 24, the process id in the high 32.
// The process id and the generation together tell launchers apart even when the
// system gives a new launcher the id of one that has ended.
struct LaunchState {
  LaunchPhase phase = LaunchPhase::kStarting;
  uint32_t nGeneration = 0;
  uint32_t nProcessId = 0;

  uint64_t Packed() const;
  static LaunchState Unpack(uint64_t n);
  bool IsWaiting() const { return phase == LaunchPhase::kWaitingForOutlook || phase == LaunchPhase::kWaitingForAddin; }
  bool SameLauncher(const LaunchState& other) const {
    return nProcessId == other.nProcessId && nGeneration == other.nGeneration;
  }
};

// The name of the stop event of the launcher that published state.
std::u16string StopEventName(const LaunchState& state);

// The first launcher's side: the state and its own event, held while it lives.
// Its generation follows the one of the state it finds; a fresh state starts
// from the clock, so that a launcher rarely gets the generation of one before.
class LaunchBoard {
 public:
  LaunchBoard();
  void Publish(LaunchPhase phase);
  // Another launcher asked this one to stop waiting.
  bool StopRequested();

 private:
  LaunchState state_;
  platform::ScopedSessionSignal hState_;
  platform::ScopedSessionSignal hStop_;
};

// A second launcher's side: the state that the launcher holding the mutex
// published, nothing when no launcher state is there.
std::optional<LaunchState> PublishedState();

// How a request to stop waiting ended.
enum class StopOutcome {
  kAsked,           // the launcher seen is still waiting: its event was set
  kEnded,           // no launcher state any more, or its event is gone
  kNotWaiting,      // the launcher seen has gone on to another phase
  kAnotherLauncher  // another launcher holds the state now: it was left alone
};

// Asks the launcher that published seen to stop waiting. The state is read
// again first, and only the same launcher, still waiting, is asked.
StopOutcome AskToStopWaiting(const LaunchState& seen);

}  // namespace mMain

}  // namespace twinsweep
