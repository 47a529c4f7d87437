#pragma once
// Which program file a registered command line starts. The launcher names it to the
// system itself rather than letting the system guess: the system's guess tries
// every blank of an unquoted path as the end of the name (so "C:\Program Files\Mail
// \client.exe" first runs a planted "C:\Program.exe") and looks for a bare name in
// the current folder first (so a planted "OUTLOOK.EXE" next to a document runs).
#include <string>

namespace twinsweep {

namespace mCreateProcess {

// The full path of the program file sName (a bare name; ".exe" is added when it
// has no extension): the default value of the name's key under HKLM's "App Paths"
// (native view, then the 32-bit one), where installers record their programs, when it
// names an existing file, else the system's search of its own folders and PATH,
// never the current folder. Empty when sName is not a bare name or nothing is found.
std::u16string FindProgram(const std::u16string& sName);

// The program file that sCommandLine starts, or empty when there is none:
// - a quoted beginning: the text between the quotes (a name that is not a full
//   path is looked for with FindProgram);
// - else the shortest beginning that ends in ".exe" (any case) before a blank or
//   the end of the text, is a full path and names an existing file;
// - else the first blank-separated word, looked for with FindProgram.
std::u16string ApplicationName(const std::u16string& sCommandLine);

}  // namespace mCreateProcess

}  // namespace twinsweep
