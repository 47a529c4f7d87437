#include "twinsweep/platform/win32/win32_dll_search.h"

#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

bool bRestricted = true;

}  // namespace

bool RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  // kernel32 is in every process from its start: no load, no reference to drop.
  const HMODULE hKernel32 = ::GetModuleHandleW(L"kernel32.dll");
  const FARPROC pFound = hKernel32 ? ::GetProcAddress(hKernel32, "SetDefaultDllDirectories") : nullptr;
  // Through a pointer to a function without arguments, the one cast between
  // function pointer types that the compiler takes as deliberate.
  const auto pSetDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(pFound));
  bRestricted = pSetDefault && pSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!bRestricted) ::SetDllDirectoryW(L"");
  return bRestricted;
}

bool DllSearchRestricted() { return bRestricted; }

}  // namespace platform::win32

}  // namespace twinsweep
