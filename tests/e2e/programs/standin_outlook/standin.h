#pragma once
// The stand-in mail client: a COM local server registered as "Outlook.Application"
// for the launcher's end-to-end scenarios. It behaves as far as the launcher relies
// on Outlook: it holds "_outlook_mutex_" while it runs, registers its application
// object's class, loads "the add-in" (creates "Orvex.Twinsweep.Addin") after a
// delay, and lists COM add-ins whose objects accept Execute. Everything it does
// and every call it receives is appended to a record file, with a timestamp.
//
// Its settings come from "standin_outlook.ini" beside its executable (never from
// the environment, which a COM-started server does not share with its client on
// Windows). Lines are key=value:
//   record=<path>          the record file (default: standin_outlook.log beside the exe)
//   register_delay_ms=<n>  pause before the class object is registered; -1 never,
//                          holding the mutexes without it (default 0)
//   addin_delay_ms=<n>     pause before the add-in's mutex appears; -1 never (default 0)
//   exit_after_ms=<n>      ends on its own after n ms; -1 never (default -1)
//   lifetime_ms=<n>        ends at the latest after n ms (default 120000)
//   reject_calls=<n>       rejects its first n incoming calls as busy; -1 every call (default 0)
//   exit_code=<n>          ends at once with that exit code, before it makes any
//                          mutex (default: it runs)
//   hang_call=<member>     a call of that member (or "CreateInstance", or
//                          "Release": the final release of the application
//                          object) never answers; it ends only with the quit event
//   mutex_delay_ms=<n>     pause before "_outlook_mutex_" is made (default 0)
//   addin=<ProgId>|<tag>   one COM add-in entry, in order; tag "-" means no object
//   clsid=<{GUID}>         the application class it registers (default kApplicationClsid)
// It also ends when the event "TwinsweepStandIn.Quit" is set.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace standin {

// {6C1E5A2B-7F3D-4E8A-9B21-3D4C5E6F7A80}: the stand-in's application class.
constexpr CLSID kApplicationClsid = {0x6c1e5a2b, 0x7f3d, 0x4e8a, {0x9b, 0x21, 0x3d, 0x4c, 0x5e, 0x6f, 0x7a, 0x80}};

struct AddinEntry {
  std::wstring sProgId;
  std::wstring sTag;  // "-" when the entry has no object
};

struct Settings {
  std::wstring sRecord;
  int nRegisterDelayMs = 0;
  int nMutexDelayMs = 0;
  CLSID clsid = kApplicationClsid;
  int nAddinDelayMs = 0;
  int nExitAfterMs = -1;
  int nLifetimeMs = 120000;
  int nRejectCalls = 0;
  bool bExitAtOnce = false;
  int nExitCode = 0;
  int nExitCodeAfterMs = 0;
  std::wstring sHangCall;
  std::vector<AddinEntry> addins;
};

Settings& Config();
// Appends "<time in ms> <event>" to the record file.
void Record(const std::wstring& sEvent);
// The time base of the record: milliseconds of the system's performance counter.
double NowMs();

// When sMember is the call that never answers: records it and blocks until the
// quit event, then answers E_FAIL.
bool HangIfAsked(const wchar_t* szMember);

// The application object (a new reference).
IDispatch* NewApplication();
// The message filter that rejects the first calls.
IMessageFilter* NewRejectingFilter();

}  // namespace standin
