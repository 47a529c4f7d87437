#pragma once
// A fresh folder for one test, in the system's temporary folder, removed with
// everything in it when the object goes. Paths are in the program's own form
// ("\" separators), which both file implementations accept. All file work goes
// through the platform's files, so the unit tests of both trees and the
// whole-program scenarios of the Windows tree use this one folder.
//
// A step that fails is a failure of the running test (with the path in the
// message); the object carries on, so that the test reports what it sees next.
#include <cstdint>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
 public:
  // sPrefix starts the folder's name; numbers after it make the name unique.
  explicit TempFolder(std::u16string_view sPrefix = u"tsw-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::u16string& Path() const { return sPath_; }
  // Path() & "\" & sName.
  std::u16string File(std::u16string_view sName) const;
  // Writes the bytes to a file in the folder (replacing it) and answers its path.
  std::u16string Write(std::u16string_view sName, std::string_view bytes) const;
  std::u16string MakeFolder(std::u16string_view sName) const;
  // Copies the file sSource into the folder as sName and answers the copy's path.
  std::u16string CopyIn(std::u16string_view sSource, std::u16string_view sName) const;

 private:
  std::u16string sPath_;
};

// Reads a whole file through the platform's files (empty when it cannot; what
// was read before a read error).
std::string ReadAll(const std::u16string& sPath);
// Sets a file's last-write time (local time).
void SetFileTime(const std::u16string& sPath, int32_t nYear, int32_t nMonth, int32_t nDay, int32_t nHour,
                 int32_t nMinute, int32_t nSecond);

}  // namespace testing_support
