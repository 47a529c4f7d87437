#include "support/paths.h"

#include <windows.h>

#include <vector>

namespace e2e {

namespace {

std::wstring FullPath(const std::wstring& sPath) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetFullPathNameW(sPath.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return sPath;
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

}  // namespace

std::wstring TestProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) {
      std::wstring sPath(buffer.data(), n);
      return sPath.substr(0, sPath.find_last_of(L"\\/"));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring HelperProgram(const std::wstring& sName) { return JoinPath(TestProgramFolder(), sName); }

std::wstring BuildRoot() {
  // The build gives the root relative to the test executable's folder, so that the
  // tree can be reached however the system maps it to a drive.
  return FullPath(JoinPath(TestProgramFolder(), TWINSWEEP_E2E_BUILD_ROOT));
}

std::wstring BuiltLauncher() { return JoinPath(BuildRoot(), L"TwinsweepLauncher.exe"); }

std::wstring PolicyTemplate() { return FullPath(JoinPath(TestProgramFolder(), TWINSWEEP_E2E_POLICY_TEMPLATE)); }

std::wstring JoinPath(const std::wstring& sFolder, const std::wstring& sName) {
  if (sFolder.empty() || sFolder.back() == L'\\') return sFolder + sName;
  return sFolder + L"\\" + sName;
}

bool IsFile(const std::wstring& sPath) {
  DWORD n = GetFileAttributesW(sPath.c_str());
  return n != INVALID_FILE_ATTRIBUTES && !(n & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& sPath) {
  DWORD n = GetFileAttributesW(sPath.c_str());
  return n != INVALID_FILE_ATTRIBUTES && (n & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace e2e
