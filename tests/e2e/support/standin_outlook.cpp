#include "support/standin_outlook.h"

#include <objbase.h>

#include <stdexcept>

#include "support/paths.h"
#include "support/read_file.h"
#include "support/utf8_text.h"

namespace e2e {
namespace {

constexpr wchar_t kQuitEvent[] = L"TwinsweepStandIn.Quit";

// A class of its own for each stand-in: Wine's COM keeps the class object of a
// stand-in that was ended by force (one stuck in releasing its last object) and
// hands it to the next client, whose activation then fails; a new class each time
// leaves that stale entry unused.
std::wstring NewClsid() {
  GUID guid;
  wchar_t sz[40] = {};
  if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, sz, 40)) throw std::runtime_error("no new class id");
  return sz;
}

void WriteWholeFile(const std::wstring& sPath, const std::string& sText) {
  const OwnedFile file(CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file.IsValid()) throw std::runtime_error("cannot write " + ToUtf8(sPath));
  DWORD n = 0;
  WriteFile(file.Get(), sText.data(), static_cast<DWORD>(sText.size()), &n, nullptr);
}

}  // namespace

double PerformanceNowMs() {
  LARGE_INTEGER f, now;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

bool NamedMutexExists(const wchar_t* szName) {
  return OwnedHandle(OpenMutexW(SYNCHRONIZE, FALSE, szName)).IsValid();
}

StandInOutlook::StandInOutlook(const StandInSettings& settings, Registration registration)
    : folder_(u"stand in outlook") {
  quit_.Reset(CreateEventW(nullptr, TRUE, FALSE, kQuitEvent));
  ResetEvent(quit_.Get());
  sExe_ = Wide(folder_.CopyIn(Utf16(HelperProgram(L"standin_outlook.exe")), u"standin_outlook.exe"));
  sRecord_ = Wide(folder_.File(u"record.log"));
  const std::wstring sClsid = NewClsid();
  std::string s = "record=" + ToUtf8(sRecord_) + "\r\n";
  s += "clsid=" + ToUtf8(sClsid) + "\r\n";
  s += "addin_delay_ms=" + std::to_string(settings.nAddinDelayMs) + "\r\n";
  s += "exit_after_ms=" + std::to_string(settings.nExitAfterMs) + "\r\n";
  s += "reject_calls=" + std::to_string(settings.nRejectCalls) + "\r\n";
  s += "register_delay_ms=" + std::to_string(settings.nRegisterDelayMs) + "\r\n";
  s += "mutex_delay_ms=" + std::to_string(settings.nMutexDelayMs) + "\r\n";
  s += "lifetime_ms=" + std::to_string(settings.nLifetimeMs) + "\r\n";
  if (settings.vExitCode) s += "exit_code=" + std::to_string(*settings.vExitCode) + "\r\n";
  s += "exit_code_after_ms=" + std::to_string(settings.nExitCodeAfterMs) + "\r\n";
  if (!settings.sHangCall.empty()) s += "hang_call=" + ToUtf8(settings.sHangCall) + "\r\n";
  for (const auto& a : settings.addins) s += "addin=" + ToUtf8(a.first) + "|" + ToUtf8(a.second) + "\r\n";
  sSettings_ = s;
  WriteWholeFile(Wide(folder_.File(u"standin_outlook.ini")), sSettings_);

  const std::wstring sClassKey = L"CLSID\\" + sClsid + L"\\LocalServer32";
  std::optional<std::wstring> vServer;
  switch (registration) {
    case Registration::kLocalServer: sCommandLine_ = L"\"" + sExe_ + L"\" /automation"; break;
    case Registration::kMissingProgram:
      sCommandLine_ = L"\"" + Wide(folder_.File(u"no such outlook.exe")) + L"\" /automation";
      break;
    case Registration::kUnquoted: sCommandLine_ = sExe_ + L" /automation"; break;
    case Registration::kOnly32BitView: sCommandLine_ = L"\"" + sExe_ + L"\" /automation"; break;
    case Registration::kNoLocalServer: break;
    case Registration::kNoProgramFile: sCommandLine_ = L"twinsweep-no-such-mail /automation"; break;
    case Registration::kExpandable:
      sCommandLine_ = std::wstring(L"\"%") + kFolderVariable + L"%" + sExe_.substr(sExe_.rfind(L'\\')) + L"\" /automation";
      break;
  }
  const REGSAM nView = registration == Registration::kOnly32BitView ? KEY_WOW64_32KEY : 0;
  if (!sCommandLine_.empty()) vServer = sCommandLine_;
  registration_.push_back(
      std::make_unique<ScopedRegistryValue>(HKEY_CLASSES_ROOT, L"Outlook.Application\\CLSID", L"", sClsid));
  if (nView != 0)  // nothing in the native view
    registration_.push_back(std::make_unique<ScopedRegistryValue>(HKEY_CLASSES_ROOT, sClassKey, L"", std::nullopt));
  if (registration == Registration::kExpandable) {
    const BYTE* p = reinterpret_cast<const BYTE*>(sCommandLine_.c_str());
    registration_.push_back(std::make_unique<ScopedRegistryValue>(
        HKEY_CLASSES_ROOT, sClassKey, L"", REG_EXPAND_SZ,
        std::vector<BYTE>(p, p + (sCommandLine_.size() + 1) * sizeof(wchar_t))));
  } else {
    registration_.push_back(std::make_unique<ScopedRegistryValue>(HKEY_CLASSES_ROOT, sClassKey, L"", vServer, nView));
  }
}

StandInOutlook::~StandInOutlook() {
  SetEvent(quit_.Get());
  // Every instance that took over (all but second instances) records its exit.
  const ULONGLONG nEnd = GetTickCount64() + 10000;
  while (GetTickCount64() < nEnd) {
    size_t nStarted = Events(L"start").size() - Events(L"second-instance").size();
    if (Events(L"exit").size() >= nStarted) break;
    Sleep(50);
  }
  for (const StandInEvent& e : Events(L"start pid=")) {
    DWORD nPid = static_cast<DWORD>(_wtoi(e.sText.c_str() + 10));
    const OwnedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nPid));
    if (process.IsValid()) {
      if (WaitForSingleObject(process.Get(), 2000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), 5000);
    }
  }
  direct_.reset();
  registration_.clear();
  quit_.Reset();
}

void StandInOutlook::InstallCopy(const std::wstring& sFolder, const std::wstring& sName) const {
  if (!CopyFileW(sExe_.c_str(), JoinPath(sFolder, sName).c_str(), FALSE))
    throw std::runtime_error("cannot copy the stand-in");
  WriteWholeFile(JoinPath(sFolder, L"standin_outlook.ini"), sSettings_);
}

void StandInOutlook::StartDirectly() {
  direct_ = std::make_unique<ProcessTree>(sExe_, L"/automation");
  const bool bRegisters = sSettings_.find("register_delay_ms=-1\r\n") == std::string::npos;
  if (!WaitForEvent(bRegisters ? L"registered" : L"outlook-mutex", 20000))
    throw std::runtime_error("the stand-in did not come up");
  if (sSettings_.find("addin_delay_ms=0\r\n") != std::string::npos && !WaitForEvent(L"addin-mutex", 20000))
    throw std::runtime_error("the stand-in did not load its add-in");
}

std::vector<StandInEvent> StandInOutlook::Events() const {
  std::vector<StandInEvent> events;
  const std::string text = ReadWholeFile(sRecord_);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) break;  // a line still being written
    const std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    events.push_back({std::stod(line.substr(0, space)), FromUtf8(line.substr(space + 1))});
  }
  return events;
}

std::vector<StandInEvent> StandInOutlook::Events(const std::wstring& sPrefix) const {
  std::vector<StandInEvent> matching;
  for (StandInEvent& e : Events())
    if (e.sText.compare(0, sPrefix.size(), sPrefix) == 0) matching.push_back(std::move(e));
  return matching;
}

std::vector<std::wstring> StandInOutlook::StartedExes() const {
  std::vector<std::wstring> exes;
  for (const StandInEvent& e : Events(L"image pid=")) {
    const size_t nFrom = e.sText.find(L" exe=");
    if (nFrom != std::wstring::npos) exes.push_back(e.sText.substr(nFrom + 5));
  }
  return exes;
}

bool StandInOutlook::WaitForEvent(const std::wstring& sPrefix, DWORD nTimeoutMs) const {
  const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;
  for (;;) {
    if (!Events(sPrefix).empty()) return true;
    if (GetTickCount64() >= nEnd) return false;
    Sleep(20);
  }
}

std::string StandInOutlook::RecordText() const { return ReadWholeFile(sRecord_); }

}  // namespace e2e
