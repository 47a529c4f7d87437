#pragma once
// What Outlook's own settings tell the launcher: whether the user has turned on
// the new Outlook for Windows (the "New Outlook" switch of classic Outlook),
// which runs no COM add-ins and which OUTLOOK.EXE then opens instead.
#include <string>

namespace twinsweep {

// The user's key of Outlook's preferences, and its DWORD that is 1 while the new
// Outlook is the user's Outlook.
constexpr char16_t kOutlookPreferencesKey[] = u"Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences";
constexpr char16_t kUseNewOutlookValue[] = u"UseNewOutlook";

// True when the user's UseNewOutlook is the DWORD 1; any other value, type or
// none at all means classic Outlook. Never raises.
bool NewOutlookSwitchedOn();

}  // namespace twinsweep
