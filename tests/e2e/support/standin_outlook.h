#pragma once
// The stand-in mail client (programs/standin_outlook) installed for one scenario.
//
// The object copies the stand-in into a fresh folder whose name holds a space,
// writes its settings file, registers it under HKEY_CLASSES_ROOT as
// "Outlook.Application" (ProgID -> CLSID -> LocalServer32 = quoted path & " /automation",
// or a variant of that registration), and reads back the record of what every
// instance did. When it goes it asks every instance to end, ends the ones that do
// not, and restores the registration.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/paths.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/temp_folder.h"
#include "support/win32_handle.h"

namespace e2e {

struct StandInSettings {
  int nAddinDelayMs = 0;    // -1: the add-in never loads
  int nExitAfterMs = -1;    // -1: runs until the scenario ends
  int nRejectCalls = 0;     // -1: every call
  int nRegisterDelayMs = 0;  // -1: holds its mutexes but never registers its class
  int nMutexDelayMs = 0;     // the pause before it makes "_outlook_mutex_"
  std::optional<int> vExitCode;  // ends with this code, before any mutex: at once, or after
  int nExitCodeAfterMs = 0;      // this pause
  std::wstring sHangCall;  // the member (or "CreateInstance", or "Release" of the application) that never answers
  int nLifetimeMs = 90000;
  // COM add-in entries in order: ProgId and a tag naming the entry's object ("-": none).
  std::vector<std::pair<std::wstring, std::wstring>> addins = {{L"Twinsweep.Connect", L"first"}};
};

// One line of the record: when (performance-counter milliseconds) and what.
struct StandInEvent {
  double nTimeMs = 0;
  std::wstring sText;
};

class StandInOutlook {
 public:
  enum class Registration {
    kLocalServer,     // LocalServer32 = "<path>" /automation
    kNoLocalServer,   // the class identifier is registered, its LocalServer32 is not
    kMissingProgram,  // LocalServer32 names a program that does not exist
    kUnquoted,        // LocalServer32 = <path> /automation, the path with blanks and unquoted
    kOnly32BitView,   // as kLocalServer, but the CLSID key only in the 32-bit registry view
    kNoProgramFile,   // LocalServer32 = a bare program name that no search finds & " /automation"
    kExpandable,      // LocalServer32 of the type REG_EXPAND_SZ = "%<kFolderVariable>%\<exe>" /automation
  };

  // The environment variable that kExpandable's registration refers to; the
  // launcher must be run with it set to Folder().
  static constexpr wchar_t kFolderVariable[] = L"TWINSWEEP_STANDIN_FOLDER";

  explicit StandInOutlook(const StandInSettings& settings, Registration registration = Registration::kLocalServer);
  ~StandInOutlook();
  StandInOutlook(const StandInOutlook&) = delete;
  StandInOutlook& operator=(const StandInOutlook&) = delete;

  const std::wstring& Exe() const { return sExe_; }
  std::wstring Folder() const { return Wide(folder_.Path()); }
  // The LocalServer32 command line as registered (empty for kNoLocalServer).
  const std::wstring& RegisteredCommandLine() const { return sCommandLine_; }
  // Puts a copy of the stand-in, with the same settings and record, at sFolder\sName.
  void InstallCopy(const std::wstring& sFolder, const std::wstring& sName) const;
  // Starts it from its registered command line as the user would, and waits until
  // its class is registered (or, if it never registers, its mutex is there) and,
  // if it is to load at once, its add-in.
  void StartDirectly();

  std::vector<StandInEvent> Events() const;
  // The events whose text starts with sPrefix.
  std::vector<StandInEvent> Events(const std::wstring& sPrefix) const;
  // The program files that were started ("image pid=<n> exe=<path>"), in order.
  std::vector<std::wstring> StartedExes() const;
  // Waits until an event starting with sPrefix is recorded.
  bool WaitForEvent(const std::wstring& sPrefix, DWORD nTimeoutMs) const;
  // The whole record, for failure messages.
  std::string RecordText() const;

 private:
  testing_support::TempFolder folder_;
  std::wstring sExe_;
  std::wstring sRecord_;
  std::string sSettings_;
  std::wstring sCommandLine_;
  OwnedHandle quit_;
  std::vector<std::unique_ptr<ScopedRegistryValue>> registration_;
  std::unique_ptr<ProcessTree> direct_;
};

// The time base of the stand-in's record (QueryPerformanceCounter in milliseconds).
double PerformanceNowMs();
// True when a mutex of that name exists now.
bool NamedMutexExists(const wchar_t* szName);

}  // namespace e2e
