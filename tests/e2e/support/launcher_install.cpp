#include "support/launcher_install.h"

#include <windows.h>

#include "support/paths.h"
#include "support/win32_handle.h"

namespace e2e {

LauncherInstall::LauncherInstall(LanguageFiles languageFiles, const std::wstring& sFolderName)
    : folder_(Utf16(sFolderName)) {
  folder_.CopyIn(Utf16(BuiltLauncher()), u"TwinsweepLauncher.exe");
  if (languageFiles == LanguageFiles::kShipped) {
    WIN32_FIND_DATAW data;
    const OwnedFind find(FindFirstFileW(JoinPath(BuildRoot(), L"*.lng").c_str(), &data));
    if (find.IsValid()) {
      do {
        folder_.CopyIn(Utf16(JoinPath(BuildRoot(), data.cFileName)), Utf16(data.cFileName));
      } while (FindNextFileW(find.Get(), &data));
    }
  }
}

std::wstring LauncherInstall::ExePath() const { return Wide(folder_.File(u"TwinsweepLauncher.exe")); }

void LauncherInstall::AddFile(const std::wstring& sName, const std::string& sContent) const {
  folder_.Write(Utf16(sName), sContent);
}

void LauncherInstall::AddFolder(const std::wstring& sName) const { folder_.MakeFolder(Utf16(sName)); }

ProcessTree LauncherInstall::Run(const std::wstring& sArgs, EnvironmentChanges environment) const {
  return ProcessTree(ExePath(), sArgs, environment);
}

}  // namespace e2e
