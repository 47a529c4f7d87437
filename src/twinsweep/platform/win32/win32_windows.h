#pragma once
// The one way into <windows.h> for the Windows implementations.
//
// Rule of this file: it holds only the include of the system headers, and leaves
// their macros as they are: a program that includes the engine's headers keeps
// MessageBox, DeleteFile and the rest. No member of ours is named like one of
// them. Nothing else belongs here; conversions live in win32_strings.h.
#include <windows.h>
