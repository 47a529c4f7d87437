#include "twinsweep/platform/file_utils.h"

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"

namespace twinsweep {

namespace mFileUtils {

bool FileExists(const std::u16string& sPath) {
  platform::ScopedFile hFile;
  return platform::Files().OpenForQuery(sPath, hFile.Receive()) == platform::kErrorSuccess;
}

bool FolderExists(const std::u16string& sPath) {
  platform::ScopedFind hFind;
  platform::FindData data;
  return platform::Files().FindFirst(sPath + u"\\*", hFind.Receive(), &data) == platform::kErrorSuccess;
}

bool GetFileLastModificationTime(const std::u16string& sFilename, base::Date& dtTime) {
  bool bResult = false;
  if (!base::Catch([&] {
        platform::IFiles& files = platform::Files();
        platform::ScopedFile hFile;
        if (files.OpenForQuery(sFilename, hFile.Receive()) != platform::kErrorSuccess) return;
        platform::SystemTime t;
        int32_t rc = files.GetLastWriteLocalTime(hFile.Get(), &t);
        hFile.Reset();
        if (rc != platform::kErrorSuccess) return;  // no time to give: the caller keeps its value
        dtTime = base::MakeDate({t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond});
        bResult = true;
      })) {
    mMain::LogError(u"mFileUtils.GetFileLastModificationTime", -1);
    return false;
  }
  return bResult;
}

bool CreateFolder(const std::u16string& sPath) {
  // MakeDirectory's own answer is not what decides: a folder that already exists,
  // or one another program made meanwhile, is as good as a new one. Whether the
  // folder is there afterwards decides.
  (void)platform::Files().MakeDirectory(sPath);
  if (FolderExists(sPath)) return true;
  // Only paths that begin with a drive are built level by level.
  int32_t nColon = base::InStr(1, sPath, u":");
  if (nColon == 0 || nColon == static_cast<int32_t>(sPath.size())) return false;
  std::u16string sFull = base::Replace(sPath, u"/", u"\\");
  int32_t nPos = nColon;
  for (;;) {
    int32_t q = base::InStr(nPos + 1, sFull, u"\\");
    bool bLast = q == 0 || q == static_cast<int32_t>(sFull.size());
    std::u16string sLevel = q == 0 ? sFull : sFull.substr(0, static_cast<size_t>(q - 1));
    (void)platform::Files().MakeDirectory(sLevel);
    if (!FolderExists(sLevel)) return false;
    if (bLast) return true;
    nPos = q;
  }
}

}  // namespace mFileUtils

}  // namespace twinsweep
