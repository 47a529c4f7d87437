#pragma once
// The new Outlook for Windows (the packaged app olk.exe), which runs no COM
// add-ins: where the user's Outlook is the new one, the launcher explains how to
// go back to classic Outlook instead of starting Outlook or waiting for it.
#include <string>

namespace twinsweep {

namespace mMain {

// The new Outlook's process, and the app alias its package puts on the user's path.
constexpr char16_t kNewOutlookProgram[] = u"olk.exe";
constexpr char16_t kNewOutlookAlias[] = u"%LOCALAPPDATA%\\Microsoft\\WindowsApps\\olk.exe";

// A process olk.exe runs in the user's session.
bool NewOutlookRunning();
// The new Outlook's app alias exists: the new Outlook is installed for the user.
bool NewOutlookInstalled();

// Notes why (sWhy), shows the box that explains the new Outlook in the user's
// language (OK only) and answers kExitNewOutlook.
int ExplainNewOutlook(const std::u16string& sWhy);

}  // namespace mMain

}  // namespace twinsweep
