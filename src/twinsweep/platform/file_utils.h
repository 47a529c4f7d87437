#pragma once
// mFileUtils: the file-system procedures the program shares. None raises: they
// answer false; GetFileLastModificationTime reports a raised failure to the log.
#include <string>

#include "twinsweep/base/date.h"

namespace twinsweep {

namespace mFileUtils {

// True when the path names an existing file that can be opened (a folder: false).
bool FileExists(const std::u16string& sPath);
// True when a search for anything inside the folder finds an entry.
bool FolderExists(const std::u16string& sPath);
// The file's last-write time in local time, whole seconds; dtTime untouched on failure.
bool GetFileLastModificationTime(const std::u16string& sFilename, base::Date& dtTime);
// Creates the folder with every missing level of a drive path; true when it exists.
bool CreateFolder(const std::u16string& sPath);

}  // namespace mFileUtils

}  // namespace twinsweep
