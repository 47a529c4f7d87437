// The stand-in's process: settings, record, mutexes, class registration, timers.
#include <string>

#include "../../support/utf8_text.h"
#include "../../support/win32_handle.h"
#include "standin.h"

namespace standin {
namespace {

using e2e::FromUtf8;
using e2e::ToUtf8;

std::wstring ExeFolder() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring s(buf, n);
  return s.substr(0, s.find_last_of(L'\\'));
}

void LoadSettings(Settings& c) {
  const std::wstring sFolder = ExeFolder();
  c.sRecord = sFolder + L"\\standin_outlook.log";
  std::string text;
  {
    const e2e::OwnedFile file(CreateFileW((sFolder + L"\\standin_outlook.ini").c_str(), GENERIC_READ,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) return;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(file.Get(), buf, sizeof buf, &n, nullptr) && n) text.append(buf, n);
  }
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::wstring value = FromUtf8(line.substr(eq + 1));
    if (key == "record") c.sRecord = value;
    else if (key == "register_delay_ms") c.nRegisterDelayMs = _wtoi(value.c_str());
    else if (key == "mutex_delay_ms") c.nMutexDelayMs = _wtoi(value.c_str());
    else if (key == "addin_delay_ms") c.nAddinDelayMs = _wtoi(value.c_str());
    else if (key == "exit_after_ms") c.nExitAfterMs = _wtoi(value.c_str());
    else if (key == "lifetime_ms") c.nLifetimeMs = _wtoi(value.c_str());
    else if (key == "reject_calls") c.nRejectCalls = _wtoi(value.c_str());
    else if (key == "exit_code_after_ms") c.nExitCodeAfterMs = _wtoi(value.c_str());
    else if (key == "exit_code") {
      c.bExitAtOnce = true;
      c.nExitCode = _wtoi(value.c_str());
    } else if (key == "hang_call") c.sHangCall = value;
    else if (key == "clsid") CLSIDFromString(value.c_str(), &c.clsid);
    else if (key == "addin") {
      size_t bar = value.find(L'|');
      c.addins.push_back({value.substr(0, bar), bar == std::wstring::npos ? L"-" : value.substr(bar + 1)});
    }
  }
}

class ClassFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the process
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (pOuter) return CLASS_E_NOAGGREGATION;
    Record(L"create-instance");
    if (HangIfAsked(L"CreateInstance")) return E_FAIL;
    IDispatch* app = NewApplication();
    HRESULT hr = app->QueryInterface(riid, ppv);
    app->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

Settings& Config() {
  static Settings settings;
  return settings;
}

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

void Record(const std::wstring& sEvent) {
  char stamp[64];
  wsprintfA(stamp, "%lu.%03lu ", static_cast<unsigned long>(NowMs()),
            static_cast<unsigned long>(static_cast<unsigned long long>(NowMs() * 1000.0) % 1000));
  std::string line = stamp + ToUtf8(sEvent) + "\r\n";
  const e2e::OwnedFile file(CreateFileW(Config().sRecord.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
  if (!file.IsValid()) return;
  DWORD n = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &n, nullptr);
}

bool HangIfAsked(const wchar_t* szMember) {
  if (Config().sHangCall.empty() || lstrcmpiW(Config().sHangCall.c_str(), szMember) != 0) return false;
  Record(std::wstring(L"hang ") + szMember);
  const e2e::OwnedHandle quit(OpenEventW(SYNCHRONIZE, FALSE, L"TwinsweepStandIn.Quit"));
  if (quit.IsValid()) WaitForSingleObject(quit.Get(), INFINITE);
  Record(std::wstring(L"hang-ended ") + szMember);
  return true;
}

}  // namespace standin

using namespace standin;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  Settings& c = Config();
  LoadSettings(c);
  wchar_t szExe[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, szExe, MAX_PATH);
  Record(L"start pid=" + std::to_wstring(GetCurrentProcessId()) + L" cmdline=" + GetCommandLineW());
  Record(L"image pid=" + std::to_wstring(GetCurrentProcessId()) + L" exe=" + szExe);
  if (c.bExitAtOnce) {
    // A program that fails before Outlook is up (a broken installation, say), or
    // (code 0) hands over to another program after a while.
    if (c.nExitCodeAfterMs > 0) Sleep(static_cast<DWORD>(c.nExitCodeAfterMs));
    Record(L"exit-code " + std::to_wstring(c.nExitCode));
    ExitProcess(static_cast<UINT>(c.nExitCode));
  }

  if (c.nMutexDelayMs > 0) Sleep(static_cast<DWORD>(c.nMutexDelayMs));
  e2e::OwnedHandle outlookMutex(CreateMutexW(nullptr, FALSE, L"_outlook_mutex_"));
  if (!outlookMutex.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS) {
    // Outlook runs once per session; a second start hands over to the first.
    Record(L"second-instance");
    return 0;
  }
  Record(L"outlook-mutex");
  e2e::OwnedHandle quit(CreateEventW(nullptr, TRUE, FALSE, L"TwinsweepStandIn.Quit"));

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IMessageFilter* pPrevious = nullptr;
  CoRegisterMessageFilter(NewRejectingFilter(), &pPrevious);

  static ClassFactory factory;
  DWORD nCookie = 0;
  e2e::OwnedHandle addinMutex;
  auto registerClass = [&] {
    HRESULT hr = CoRegisterClassObject(c.clsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &nCookie);
    wchar_t buf[64];
    wsprintfW(buf, L"registered hr=0x%08lX", static_cast<unsigned long>(hr));
    Record(buf);
  };
  auto loadAddin = [&] {
    addinMutex.Reset(CreateMutexW(nullptr, FALSE, L"Orvex.Twinsweep.Addin"));
    Record(L"addin-mutex");
  };

  if (c.nRegisterDelayMs == 0) registerClass();
  // Thread timers get ids of their own; map them back to their purpose.
  UINT_PTR idAddin = 0, idExit = 0, idLifetime = 0, idRegister = 0;
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
  if (c.nRegisterDelayMs > 0) idRegister = SetTimer(nullptr, 0, c.nRegisterDelayMs, nullptr);
  if (c.nAddinDelayMs == 0) loadAddin();
  else if (c.nAddinDelayMs > 0) idAddin = SetTimer(nullptr, 0, c.nAddinDelayMs, nullptr);
  if (c.nExitAfterMs >= 0) idExit = SetTimer(nullptr, 0, c.nExitAfterMs, nullptr);
  idLifetime = SetTimer(nullptr, 0, c.nLifetimeMs, nullptr);

  std::wstring sReason;
  while (sReason.empty()) {
    const HANDLE hQuit = quit.Get();
    DWORD w = MsgWaitForMultipleObjects(1, &hQuit, FALSE, INFINITE, QS_ALLINPUT);
    if (w == WAIT_OBJECT_0) {
      sReason = L"quit";
      break;
    }
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
        KillTimer(nullptr, msg.wParam);
        if (msg.wParam == idRegister) registerClass();
        else if (msg.wParam == idAddin) loadAddin();
        else if (msg.wParam == idExit) sReason = L"exit_after";
        else if (msg.wParam == idLifetime) sReason = L"lifetime";
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  if (nCookie) CoRevokeClassObject(nCookie);
  // The mutexes are gone before the exit is recorded; ExitProcess runs no destructors.
  addinMutex.Reset();
  outlookMutex.Reset();
  Record(L"exit reason=" + sReason);
  quit.Reset();
  // Objects still referenced by clients are abandoned with the process.
  ExitProcess(0);
}
