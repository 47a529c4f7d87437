#pragma once
// The launch sequence's state, published beside its mutex so that a second
// launcher can tell what the first one is doing and ask it to stop waiting.
//
// The launcher that holds the launch mutex makes a named value holding its
// phase, and a named event that another launcher sets to make it end its wait.
// A holder of the mutex that publishes no phase is not a launcher.
#include <cstdint>
#include <optional>

#include "twinsweep/platform/session_signals.h"

namespace twinsweep {

namespace mMain {

constexpr char16_t kLaunchStateName[] = u"Local\\Orvex.TwinsweepLauncher.State";
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

// The first launcher's side: the state and the event, held while it lives.
class LaunchBoard {
 public:
  LaunchBoard();
  void Publish(LaunchPhase phase);
  // Another launcher asked this one to stop waiting.
  bool StopRequested();

 private:
  platform::ScopedSessionSignal hState_;
  platform::ScopedSessionSignal hStop_;
};

// A second launcher's side: the phase the launcher holding the mutex published,
// nothing when no launcher state is there.
std::optional<LaunchPhase> PublishedPhase();
// Asks the launcher holding the mutex to stop waiting; false when it is gone.
bool AskToStopWaiting();

}  // namespace mMain

}  // namespace twinsweep
