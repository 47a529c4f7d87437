#pragma once
// Windows status codes and constants: the vocabulary every platform interface
// speaks, whichever system implements it.
#include <cstdint>

namespace twinsweep {

namespace platform {

constexpr int32_t kErrorSuccess = 0;                  ///< ERROR_SUCCESS
constexpr int32_t kErrorFileNotFound = 2;             ///< ERROR_FILE_NOT_FOUND
constexpr int32_t kErrorPathNotFound = 3;             ///< ERROR_PATH_NOT_FOUND
constexpr int32_t kErrorAccessDenied = 5;             ///< ERROR_ACCESS_DENIED
constexpr int32_t kErrorInvalidHandle = 6;            ///< ERROR_INVALID_HANDLE
constexpr int32_t kErrorNoMoreFiles = 18;             ///< ERROR_NO_MORE_FILES
constexpr int32_t kErrorHandleEof = 38;               ///< ERROR_HANDLE_EOF
constexpr int32_t kErrorInvalidParameter = 87;        ///< ERROR_INVALID_PARAMETER
constexpr int32_t kErrorDiskFull = 112;               ///< ERROR_DISK_FULL
constexpr int32_t kErrorAlreadyExists = 183;          ///< ERROR_ALREADY_EXISTS
constexpr int32_t kErrorMoreData = 234;               ///< ERROR_MORE_DATA
constexpr int32_t kErrorNoMoreItems = 259;            ///< ERROR_NO_MORE_ITEMS
constexpr int32_t kErrorNoUnicodeTranslation = 1113;  ///< ERROR_NO_UNICODE_TRANSLATION
constexpr int32_t kErrorDirNotEmpty = 145;            ///< ERROR_DIR_NOT_EMPTY
constexpr int32_t kErrorBadPathname = 161;            ///< ERROR_BAD_PATHNAME

}  // namespace platform

}  // namespace twinsweep
