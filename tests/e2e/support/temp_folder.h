#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away.
#include <string>

namespace e2e {

class TempFolder {
 public:
  // sPrefix starts the folder's name; a number makes it unique.
  explicit TempFolder(const std::wstring& sPrefix = L"twinsweep-e2e");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return sPath_; }
  // The path of sName inside the folder.
  std::wstring operator/(const std::wstring& sName) const;
  // Creates (or replaces) the file sName with the bytes of sContent.
  void WriteFile(const std::wstring& sName, const std::string& sContent = std::string()) const;
  void CreateFolder(const std::wstring& sName) const;
  // Copies the file sSource into the folder under sName.
  void CopyIn(const std::wstring& sSource, const std::wstring& sName) const;

 private:
  std::wstring sPath_;
};

// Removes a folder and everything below it; answers false if anything stayed.
bool RemoveTree(const std::wstring& sPath);

}  // namespace e2e
