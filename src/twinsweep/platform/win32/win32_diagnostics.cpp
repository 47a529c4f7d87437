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

  std::u16string LocalAppDataFolder() override {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
    // Missing, or longer than a folder the log could be written under.
    if (n == 0 || n > MAX_PATH) return u"";
    std::u16string s = win32::FromWide(buffer, n);
    while (!s.empty() && s.back() == u'\\') s.pop_back();
    return s;
  }

  std::u16string ErrorText(uint32_t nError) override { return win32::SystemMessage(nError); }
};

}  // namespace

template <>
IDiagnostics& Default<IDiagnostics>() {
  return StaticInstance<Win32Diagnostics>();
}

}  // namespace platform

}  // namespace twinsweep
