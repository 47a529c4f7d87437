#include "twinsweep/launcher/launch_board.h"

namespace twinsweep {

namespace mMain {

LaunchBoard::LaunchBoard() {
  platform::ISessionSignals& signals = platform::SessionSignals();
  bool bExisted = false;
  hStop_.Reset(signals.CreateEventByName(kStopWaitingEvent));
  hState_.Reset(signals.CreateValue(kLaunchStateName, &bExisted));
  Publish(LaunchPhase::kStarting);
}

void LaunchBoard::Publish(LaunchPhase phase) {
  if (hState_.IsValid()) platform::SessionSignals().WriteValue(hState_.Get(), static_cast<uint32_t>(phase));
}

bool LaunchBoard::StopRequested() {
  return hStop_.IsValid() && platform::SessionSignals().IsEventSet(hStop_.Get());
}

std::optional<LaunchPhase> PublishedPhase() {
  platform::ScopedSessionSignal hState(platform::SessionSignals().OpenValue(kLaunchStateName));
  if (!hState.IsValid()) return std::nullopt;
  return static_cast<LaunchPhase>(platform::SessionSignals().ReadValue(hState.Get()));
}

bool AskToStopWaiting() { return platform::SessionSignals().SetEventByName(kStopWaitingEvent); }

}  // namespace mMain

}  // namespace twinsweep
