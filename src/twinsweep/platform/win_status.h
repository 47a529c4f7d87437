#pragma once
// Windows status codes and constants: the vocabulary every platform interface
// speaks, whichever system implements it.
#include <cstdint>

namespace twinsweep {

namespace platform {

constexpr int32_t kErrorSuccess = 0;
constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorPathNotFound = 3;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;
constexpr int32_t kErrorNoMoreFiles = 18;
constexpr int32_t kErrorHandleEof = 38;
constexpr int32_t kErrorInvalidParameter = 87;
constexpr int32_t kErrorDiskFull = 112;
constexpr int32_t kErrorAlreadyExists = 183;
constexpr int32_t kErrorMoreData = 234;
constexpr int32_t kErrorNoMoreItems = 259;
constexpr int32_t kErrorNoUnicodeTranslation = 1113;
constexpr int32_t kErrorDirNotEmpty = 145;
constexpr int32_t kErrorBadPathname = 161;

}  // namespace platform

}  // namespace twinsweep
