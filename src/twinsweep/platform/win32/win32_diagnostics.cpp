// Windows implementation of the diagnostics log's system side.
#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/win32/win32_system_message.h"

#include <string>

#include "twinsweep/platform/diagnostics.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Diagnostics : public IDiagnostics {
 public:
  void DebugOutput(std::u16string_view sText) override {
    if (const auto text = win32::Wide(sText)) ::OutputDebugStringW(text->c_str());
  }

  SystemTime LocalTime() override {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  }

  uint32_t ProcessId() override { return ::GetCurrentProcessId(); }

  std::u16string LocalAppDataFolder() override {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
    // Missing, or longer than a folder the log could be written under.
    if (n == 0 || n > MAX_PATH) return u"";
    std::u16string s = win32::FromWide(buffer, n);
    while (!s.empty() && s.back() == u'\\') s.pop_back();
    return s;
  }

  int64_t FileSize(std::u16string_view sPath) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const auto path = win32::Wide(sPath);
    if (!path || !::GetFileAttributesExW(path->c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  bool AppendToFile(std::u16string_view sPath, std::string_view sBytes) override {
    // FILE_APPEND_DATA alone: every write goes to the end of the file as it is then,
    // whoever else appends meanwhile.
    const auto path = win32::Wide(sPath);
    if (!path) return false;
    HANDLE h = ::CreateFileW(path->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD nWritten = 0;
    const bool bWritten = ::WriteFile(h, sBytes.data(), static_cast<DWORD>(sBytes.size()), &nWritten, nullptr) &&
                          nWritten == sBytes.size();
    ::CloseHandle(h);
    return bWritten;
  }

  bool MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) override {
    const auto from = win32::Wide(sFrom), to = win32::Wide(sTo);
    return from && to && ::MoveFileExW(from->c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  }

  bool EmptyFile(std::u16string_view sPath) override {
    // Shared as the appends share it, so that a viewer holding the file does not stop it.
    const auto path = win32::Wide(sPath);
    if (!path) return false;
    HANDLE h = ::CreateFileW(path->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
  }

  bool CreateFolders(std::u16string_view sPath) override {
    const auto wide = win32::Wide(sPath);
    if (!wide) return false;
    const std::wstring& path = *wide;
    // Each folder from the top down; the ones that exist already fail harmlessly.
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
      ::CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
    const DWORD n = ::GetFileAttributesW(path.c_str());
    return n != INVALID_FILE_ATTRIBUTES && (n & FILE_ATTRIBUTE_DIRECTORY);
  }

  uint32_t LastError() override { return ::GetLastError(); }

  std::u16string ErrorText(uint32_t nError) override { return win32::SystemMessage(nError); }
};

}  // namespace

template <>
IDiagnostics& Default<IDiagnostics>() {
  static Win32Diagnostics diagnostics;
  return diagnostics;
}

}  // namespace platform

}  // namespace twinsweep
