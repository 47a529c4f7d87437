#pragma once
// A fresh folder for one test, in the system's temporary folder, removed with
// everything in it when the object goes. Paths are in the program's own form
// ("\" separators), which both file implementations accept.
#include <cstdint>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::u16string& Path() const { return sPath_; }
  // Path() & "\" & sName.
  std::u16string File(std::u16string_view sName) const;
  // Writes the bytes to a file in the folder (replacing it) and answers its path.
  std::u16string Write(std::u16string_view sName, std::string_view bytes) const;
  std::u16string MakeFolder(std::u16string_view sName) const;

 private:
  std::u16string sPath_;
};

// Reads a whole file through the platform's files (empty when it cannot).
std::string ReadAll(const std::u16string& sPath);
// Sets a file's last-write time (local time).
void SetFileTime(const std::u16string& sPath, int32_t nYear, int32_t nMonth, int32_t nDay, int32_t nHour,
                 int32_t nMinute, int32_t nSecond);

}  // namespace testing_support
