#pragma once
// A named mutex held by the test for the life of the object, as a running program
// that announces itself by one would hold it.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "support/win32_handle.h"

namespace e2e {

class ScopedNamedMutex {
 public:
  explicit ScopedNamedMutex(const std::wstring& sName) : mutex_(CreateMutexW(nullptr, FALSE, sName.c_str())) {
    if (!mutex_.IsValid()) throw std::runtime_error("CreateMutexW failed (" + std::to_string(GetLastError()) + ")");
  }

 private:
  OwnedHandle mutex_;
};

}  // namespace e2e
