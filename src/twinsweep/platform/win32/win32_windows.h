#pragma once
// The one way into <windows.h> for the Windows implementations.
//
// Rule of this file: it holds only the include of the system headers and the
// undoing of their macros that collide with the names of the platform interfaces.
// Nothing else belongs here; conversions live in win32_strings.h.
#include <windows.h>
// The platform interfaces use these names for their own members; the wide
// functions are always called by their W names.
#undef CreateDirectory
#undef RemoveDirectory
#undef DeleteFile
#undef MessageBox
