#pragma once
// A named mutex held by the test for the life of the object, as a running program
// that announces itself by one would hold it.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace e2e {

class ScopedNamedMutex {
 public:
  explicit ScopedNamedMutex(const std::wstring& sName) : hMutex_(CreateMutexW(nullptr, FALSE, sName.c_str())) {
    if (!hMutex_) throw std::runtime_error("CreateMutexW failed (" + std::to_string(GetLastError()) + ")");
  }
  ~ScopedNamedMutex() { CloseHandle(hMutex_); }
  ScopedNamedMutex(const ScopedNamedMutex&) = delete;
  ScopedNamedMutex& operator=(const ScopedNamedMutex&) = delete;

 private:
  HANDLE hMutex_;
};

}  // namespace e2e
