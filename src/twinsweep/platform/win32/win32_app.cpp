// Windows implementation of what the program knows of itself.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/platform/app.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32App : public IApp {
 public:
  std::u16string AppFolder() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (n == 0) return u"";
      if (n < path.size()) {
        path.resize(n);
        break;
      }
      path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L'\\');
    return win32::FromWide(path.substr(0, slash == std::wstring::npos ? 0 : slash));
  }

  // The system's true version from ntdll: GetVersionExW answers what the calling
  // program's manifest declares, and the engine runs in programs without one.
  bool ShapingKnowsIsolates() override {
    static const bool bKnows = [] {
      using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
      HMODULE hNtdll = GetModuleHandleW(L"ntdll.dll");
      auto pGetVersion =
          hNtdll ? reinterpret_cast<RtlGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(hNtdll, "RtlGetVersion")))
                 : nullptr;
      OSVERSIONINFOW info{};
      info.dwOSVersionInfoSize = sizeof info;
      return !pGetVersion || pGetVersion(&info) != 0 || info.dwMajorVersion >= 10;
    }();
    return bKnows;
  }
};

}  // namespace

template <>
IApp& Default<IApp>() {
  return StaticInstance<Win32App>();
}

}  // namespace platform

}  // namespace twinsweep
