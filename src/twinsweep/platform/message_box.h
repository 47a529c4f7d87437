#pragma once
// The type flags and the answers of a Windows message box (MessageBoxW), which
// the engine chooses for a language (its reading order) and the launcher shows.
#include <cstdint>

namespace twinsweep {

namespace platform {

constexpr uint32_t kMbOk = 0;
constexpr uint32_t kMbYesNo = 4;
constexpr uint32_t kMbRight = 0x00080000;       // MB_RIGHT: the text aligned right
constexpr uint32_t kMbRtlReading = 0x00100000;  // MB_RTLREADING: read right to left, the box mirrored
constexpr int32_t kIdOk = 1;
constexpr int32_t kIdCancel = 2;
constexpr int32_t kIdYes = 6;
constexpr int32_t kIdNo = 7;

}  // namespace platform

}  // namespace twinsweep
