#include "twinsweep/launcher/launch_board.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/platform/this_process.h"
#include "twinsweep/platform/clock.h"

namespace twinsweep {

namespace mMain {

constexpr uint32_t kGenerationMask = 0xFFFFFF;

uint64_t LaunchState::Packed() const {
  return static_cast<uint64_t>(nProcessId) << 32 | static_cast<uint64_t>(nGeneration & kGenerationMask) << 8 |
         (static_cast<uint32_t>(phase) & 0xFF);
}

LaunchState LaunchState::Unpack(uint64_t n) {
  return {static_cast<LaunchPhase>(n & 0xFF), static_cast<uint32_t>(n >> 8) & kGenerationMask,
          static_cast<uint32_t>(n >> 32)};
}

std::u16string StopEventName(const LaunchState& state) {
  return std::u16string(kStopWaitingEvent) + u"." + base::LongToText(static_cast<int64_t>(state.nProcessId)) + u"." +
         base::LongToText(static_cast<int64_t>(state.nGeneration));
}

LaunchBoard::LaunchBoard() {
  platform::ISessionSignals& signals = platform::SessionSignals();
  bool bExisted = false;
  hState_.Reset(signals.CreateValue(kLaunchStateName, &bExisted));
  state_.nProcessId = platform::ThisProcess().ProcessId();
  const uint64_t nGeneration = bExisted && hState_.IsValid()
                                   ? LaunchState::Unpack(signals.ReadValue(hState_.Get())).nGeneration + 1
                                   : platform::Clock().TickCount();
  state_.nGeneration = static_cast<uint32_t>(nGeneration) & kGenerationMask;
  hStop_.Reset(signals.CreateEventByName(StopEventName(state_)));
  Publish(LaunchPhase::kStarting);
}

void LaunchBoard::Publish(LaunchPhase phase) {
  state_.phase = phase;
  if (hState_.IsValid()) platform::SessionSignals().WriteValue(hState_.Get(), state_.Packed());
}

bool LaunchBoard::StopRequested() { return hStop_.IsValid() && platform::SessionSignals().IsEventSet(hStop_.Get()); }

std::optional<LaunchState> PublishedState() {
  platform::ScopedSessionSignal hState(platform::SessionSignals().OpenValue(kLaunchStateName));
  if (!hState.IsValid()) return std::nullopt;
  return LaunchState::Unpack(platform::SessionSignals().ReadValue(hState.Get()));
}

StopOutcome AskToStopWaiting(const LaunchState& seen) {
  const std::optional<LaunchState> now = PublishedState();
  if (!now) return StopOutcome::kEnded;
  if (!now->SameLauncher(seen)) return StopOutcome::kAnotherLauncher;
  if (!now->IsWaiting()) return StopOutcome::kNotWaiting;
  return platform::SessionSignals().SetEventByName(StopEventName(*now)) ? StopOutcome::kAsked : StopOutcome::kEnded;
}

}  // namespace mMain

}  // namespace twinsweep
