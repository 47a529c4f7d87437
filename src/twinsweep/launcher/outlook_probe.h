#pragma once
// What the launcher knows of Outlook and the Twinsweep add-in: whether each is
// running (by the named mutex it holds while it runs) and how Outlook is started
// (the command line of its automation server's class registration).
#include <string>

namespace twinsweep {

namespace mMain {

// The mutex Outlook holds while it runs, and the one the add-in holds while it is
// loaded in Outlook.
constexpr char16_t kOutlookMutex[] = u"_outlook_mutex_";
constexpr char16_t kAddinMutex[] = u"Orvex.Twinsweep.Addin";
// The command line used when Outlook's class registration gives none.
constexpr char16_t kOutlookFallbackCommand[] = u"OUTLOOK.EXE";

bool IsOutlookRunning();
bool IsAddinRunning();
// The default value of HKCR\CLSID\{Outlook.Application's CLSID}\LocalServer32,
// as stored (quotes and arguments kept; a value of the type REG_EXPAND_SZ with its
// environment variables expanded, as COM starts it), each key
// found in the native or else the 32-bit registry view; never empty, "OUTLOOK.EXE"
// when there is no such registration (StartProcess then finds the program through
// App Paths and the system folders). Never raises.
std::u16string GetOutlookPath();

}  // namespace mMain

}  // namespace twinsweep
