#include "support/shell_recorder.h"

#include <windows.h>

#include "support/paths.h"
#include "support/utf8_text.h"
#include "support/win32_handle.h"

namespace e2e {

namespace {

// The file type that .chm files are sent to while recording.
constexpr wchar_t kChmProgId[] = L"Twinsweep.E2E.RecordedHelpFile";

}  // namespace

ShellOpenRecorder::ShellOpenRecorder()
    : folder_(u"twinsweep-shell-opens"), sRecordFile_(Wide(folder_.File(u"targets.txt"))) {
  const std::wstring sCommand =
      L"\"" + HelperProgram(L"shell_open_recorder.exe") + L"\" \"" + sRecordFile_ + L"\" \"%1\"";
  auto put = [this](const std::wstring& sKey, const std::wstring& sName, std::optional<std::wstring> vValue) {
    registrations_.push_back(
        std::make_unique<ScopedRegistryValue>(HKEY_CLASSES_ROOT, sKey, sName, std::move(vValue)));
  };
  // Both web schemes: the build chooses which one the program's addresses use.
  for (const std::wstring sScheme : {L"http", L"https"}) {
    put(sScheme + L"\\shell\\open\\command", L"", sCommand);
    // A DDE conversation would be tried before the command; there must be none.
    put(sScheme + L"\\shell\\open\\ddeexec", L"", std::nullopt);
  }
  put(L".chm", L"", kChmProgId);
  put(std::wstring(kChmProgId) + L"\\shell\\open\\command", L"", sCommand);
}

// The registrations are restored in the reverse order of their making.
ShellOpenRecorder::~ShellOpenRecorder() {
  while (!registrations_.empty()) registrations_.pop_back();
}

std::vector<std::wstring> ShellOpenRecorder::Targets() const {
  std::vector<std::wstring> targets;
  std::string sBytes;
  {
    const OwnedFile file(CreateFileW(sRecordFile_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) return targets;
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &nRead, nullptr) && nRead > 0) sBytes.append(buffer, nRead);
  }
  size_t nStart = 0;
  for (size_t nEnd; (nEnd = sBytes.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1) {
    targets.push_back(FromUtf8(sBytes.substr(nStart, nEnd - nStart)));
  }
  return targets;
}

void ShellOpenRecorder::Clear() const { DeleteFileW(sRecordFile_.c_str()); }

}  // namespace e2e
