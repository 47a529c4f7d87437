// Windows implementation of the desktop's rights: the integrity levels of this
// process and of the shell's, read from their tokens' mandatory labels, and a
// start through the desktop's shell (Explorer), whose ShellExecute starts the
// program as a child of Explorer, with Explorer's token.
#include "twinsweep/platform/win32/win32_com_owners.h"
#include "twinsweep/platform/win32/win32_strings.h"
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "twinsweep/platform/desktop_rights.h"

namespace twinsweep {

namespace platform {
namespace {

using win32::ComPtr;
using win32::ScopedVariant;

uint32_t IntegrityOf(HANDLE hProcess) {
  HANDLE hToken = nullptr;
  if (!::OpenProcessToken(hProcess, TOKEN_QUERY, &hToken)) return 0;
  DWORD nSize = 0;
  ::GetTokenInformation(hToken, TokenIntegrityLevel, nullptr, 0, &nSize);
  std::vector<BYTE> buffer(nSize);
  uint32_t nLevel = 0;
  if (nSize && ::GetTokenInformation(hToken, TokenIntegrityLevel, buffer.data(), nSize, &nSize)) {
    const PSID pSid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR nCount = *::GetSidSubAuthorityCount(pSid);
    if (nCount) nLevel = *::GetSidSubAuthority(pSid, nCount - 1);
  }
  ::CloseHandle(hToken);
  return nLevel;
}

// A BSTR owned for the length of a call.
class ScopedBstr {
 public:
  explicit ScopedBstr(const std::wstring& s) : b_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  ~ScopedBstr() { ::SysFreeString(b_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR Get() const { return b_; }

 private:
  BSTR b_;
};

std::wstring OwnProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

std::wstring CurrentFolder() {
  const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(n, L'\0');
  const DWORD nGot = n ? ::GetCurrentDirectoryW(n, folder.data()) : 0;
  return nGot && nGot < n ? folder.substr(0, nGot) : L"";
}

// The desktop's IShellDispatch2: the desktop window among the shell's windows,
// its browser, the background of its active view, and that view's application.
HRESULT DesktopShellDispatch(ComPtr<IShellDispatch2>* pShell) {
  ComPtr<IShellWindows> windows;
  HRESULT hr = ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                  reinterpret_cast<void**>(windows.Receive()));
  if (FAILED(hr)) return hr;
  ScopedVariant location, root;
  location.Get().vt = VT_I4;
  location.Get().lVal = CSIDL_DESKTOP;
  long nWindow = 0;
  ComPtr<IDispatch> desktop;
  hr = windows.Get()->FindWindowSW(&location.Get(), &root.Get(), SWC_DESKTOP, &nWindow, SWFO_NEEDDISPATCH,
                                   desktop.Receive());
  if (hr != S_OK || !desktop.Get()) return FAILED(hr) ? hr : S_FALSE;
  ComPtr<IServiceProvider> provider;
  if (FAILED(hr = desktop.Get()->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(provider.Receive()))))
    return hr;
  ComPtr<IShellBrowser> browser;
  if (FAILED(hr = provider.Get()->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                               reinterpret_cast<void**>(browser.Receive()))))
    return hr;
  ComPtr<IShellView> view;
  if (FAILED(hr = browser.Get()->QueryActiveShellView(view.Receive()))) return hr;
  ComPtr<IDispatch> background;
  if (FAILED(hr = view.Get()->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                            reinterpret_cast<void**>(background.Receive()))))
    return hr;
  ComPtr<IShellFolderViewDual> folderView;
  if (FAILED(hr = background.Get()->QueryInterface(IID_IShellFolderViewDual,
                                                   reinterpret_cast<void**>(folderView.Receive()))))
    return hr;
  ComPtr<IDispatch> application;
  if (FAILED(hr = folderView.Get()->get_Application(application.Receive()))) return hr;
  return application.Get()->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(pShell->Receive()));
}

class Win32DesktopRights : public IDesktopRights {
 public:
  uint32_t OwnIntegrity() override { return IntegrityOf(::GetCurrentProcess()); }

  uint32_t ShellIntegrity() override {
    const HWND hShell = ::GetShellWindow();
    DWORD nProcessId = 0;
    if (!hShell || !::GetWindowThreadProcessId(hShell, &nProcessId) || !nProcessId) return 0;
    const HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcessId);
    if (!hProcess) return 0;
    const uint32_t nLevel = IntegrityOf(hProcess);
    ::CloseHandle(hProcess);
    return nLevel;
  }

  int32_t StartAgainThroughDesktopShell(std::u16string_view sArgs) override {
    const auto args = win32::Wide(sArgs);
    const std::wstring sProgram = OwnProgramFile();
    if (!args || sProgram.empty()) return E_INVALIDARG;
    ComPtr<IShellDispatch2> shell;
    const HRESULT hr = DesktopShellDispatch(&shell);
    if (hr != S_OK) return hr;
    const ScopedBstr file(sProgram);
    ScopedVariant parameters, folder, operation, show;
    parameters.Get().vt = VT_BSTR;
    parameters.Get().bstrVal = ::SysAllocStringLen(args->data(), static_cast<UINT>(args->size()));
    folder.Get().vt = VT_BSTR;
    folder.Get().bstrVal = ::SysAllocString(CurrentFolder().c_str());
    operation.Get().vt = VT_BSTR;
    operation.Get().bstrVal = ::SysAllocString(L"open");
    show.Get().vt = VT_I4;
    show.Get().lVal = SW_SHOWNORMAL;
    return shell.Get()->ShellExecute(file.Get(), parameters.Get(), folder.Get(), operation.Get(), show.Get());
  }
};

}  // namespace

template <>
IDesktopRights& Default<IDesktopRights>() {
  return StaticInstance<Win32DesktopRights>();
}

}  // namespace platform

}  // namespace twinsweep
