#pragma once
// A private installation of the built TwinsweepLauncher.exe: a copy of the program in
// a fresh folder, so that the scenario decides what lies in the application's folder
// (help files, language files, a folder in a file's place).
#include <string>

#include "support/paths.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace e2e {

class LauncherInstall {
 public:
  enum class LanguageFiles { kNone, kShipped };
  // The folder's name starts with sFolderName; the default has a space in it, as an
  // installation under "Program Files" has.
  explicit LauncherInstall(LanguageFiles languageFiles = LanguageFiles::kNone,
                           const std::wstring& sFolderName = L"Twinsweep Launcher");

  // The application's folder.
  std::wstring Folder() const { return Wide(folder_.Path()); }
  std::wstring ExePath() const;
  // A file or folder in the application's folder.
  void AddFile(const std::wstring& sName, const std::string& sContent = std::string()) const;
  void AddFolder(const std::wstring& sName) const;

  // Starts the program with the argument text sArgs, the environment changed as given.
  ProcessTree Run(const std::wstring& sArgs, EnvironmentChanges environment = {}) const;

 private:
  testing_support::TempFolder folder_;
};

}  // namespace e2e
