#pragma once
// Where the program's DLLs may come from, fixed at its start before anything loads
// a library: the system folder only, never the program's folder (a download
// folder, say) or the current one.

namespace twinsweep {
namespace platform::win32 {

// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up in kernel32 at
// run time: Windows 7 has it only with the update that added it (KB2533623), and a
// program that imported it would not start at all without. Where it is missing or
// fails, SetDllDirectoryW(L"") takes at least the current folder out of the search.
// True when the search is the system folder's alone; the answer is kept for
// IProgramStart::DllSearchRestricted.
bool RestrictDllSearch();

// The answer of the last RestrictDllSearch; true before any.
bool DllSearchRestricted();

}  // namespace platform::win32

}  // namespace twinsweep
