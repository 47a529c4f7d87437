#pragma once
// Whether the system's macros (CreateDirectory, RemoveDirectory, DeleteFile,
// MessageBox) still work after the engine's window framework header: one file a
// system, chosen by the build (consumer_macros_win32.cpp on Windows, where the
// header and the macros exist; consumer_macros_other.cpp elsewhere).
bool WindowsMacrosKept();
