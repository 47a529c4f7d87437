#pragma once
// Where the programs under test and the helper programs are, and the small path
// operations the scenarios need. Everything is a Windows path (under Wine the build
// tree is reached through its drive mapping, found from this executable's own path).
#include <string>
#include <string_view>

namespace e2e {

// The folder that holds the running test executable; helper programs are built
// next to it.
std::wstring TestProgramFolder();
// The full path of the helper program sName (for example L"shell_open_recorder.exe").
std::wstring HelperProgram(const std::wstring& sName);
// The root of the build tree: TwinsweepLauncher.exe and the shipped *.lng files.
std::wstring BuildRoot();
std::wstring BuiltLauncher();
// The Group Policy template as it ships (generated/policy/TwinsweepLauncher.admx of the build tree).
std::wstring PolicyTemplate();

// sFolder & "\" & sName.
std::wstring JoinPath(const std::wstring& sFolder, const std::wstring& sName);
bool IsFile(const std::wstring& sPath);
bool IsFolder(const std::wstring& sPath);

// The program's UTF-16 strings (those of the shared test folder) and the wide
// strings of the scenarios: under Windows the same code units.
inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string Utf16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace e2e
