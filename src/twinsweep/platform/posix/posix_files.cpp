// Files and folders on Linux, answering in the Windows vocabulary: "\" in paths
// becomes "/", errno becomes the Windows status code, and a directory search
// follows the Windows wildcard rules ("*" and "?", without regard to case, "."
// and ".." listed for "*"). Entries are listed in name order so that runs are
// repeatable.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/posix/posix_paths.h"

namespace twinsweep {

namespace platform {
namespace {

using posix::NativePath;

int32_t FromErrno(int e) {
  switch (e) {
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return kErrorAccessDenied;
    case EEXIST: return kErrorAlreadyExists;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case EBADF: return kErrorInvalidHandle;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case EMFILE:
    case ENFILE: return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EIO: return 1117;  // ERROR_IO_DEVICE
    default: return kErrorInvalidParameter;
  }
}

// A missing file whose folder is missing too is "path not found" on Windows.
int32_t MissingStatus(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return kErrorFileNotFound;
  struct stat st;
  return stat(path.substr(0, slash).c_str(), &st) == 0 ? kErrorFileNotFound : kErrorPathNotFound;
}

int32_t OpenNative(std::u16string_view sPath, int nFlags, FileHandle* phFile) {
  *phFile = kInvalidFile;
  std::string path = NativePath(sPath);
  int fd = ::open(path.c_str(), nFlags | O_CLOEXEC, 0644);
  if (fd < 0) return errno == ENOENT ? MissingStatus(path) : FromErrno(errno);
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return kErrorAccessDenied;  // Windows opens no folder without backup semantics.
  }
  *phFile = fd;
  return kErrorSuccess;
}

bool WildcardMatch(std::u16string_view mask, std::u16string_view name) {
  size_t m = 0, n = 0, starM = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || base::ToLowerChar(mask[m]) == base::ToLowerChar(name[n]))) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == u'*') {
      starM = m++;
      starN = n;
    } else if (starM != std::u16string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

class PosixFiles : public IFiles {
 public:
  int32_t OpenForQuery(std::u16string_view sPath, FileHandle* phFile) override {
    return OpenNative(sPath, O_PATH, phFile);
  }
  int32_t OpenForRead(std::u16string_view sPath, FileHandle* phFile) override {
    return OpenNative(sPath, O_RDONLY, phFile);
  }
  int32_t OpenForWrite(std::u16string_view sPath, FileHandle* phFile) override {
    return OpenNative(sPath, O_WRONLY | O_CREAT | O_TRUNC, phFile);
  }
  int32_t Read(FileHandle hFile, uint8_t* pBuffer, uint32_t nToRead, uint32_t* pnRead) override {
    *pnRead = 0;
    ssize_t n;
    do n = ::read(static_cast<int>(hFile), pBuffer, nToRead);
    while (n < 0 && errno == EINTR);
    if (n < 0) return FromErrno(errno);
    *pnRead = static_cast<uint32_t>(n);
    return kErrorSuccess;
  }
  int32_t Write(FileHandle hFile, const uint8_t* pData, uint32_t nSize) override {
    while (nSize > 0) {
      ssize_t n = ::write(static_cast<int>(hFile), pData, nSize);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return FromErrno(errno);
      if (n == 0) return kErrorDiskFull;  // no progress: the device takes no more
      pData += n;
      nSize -= static_cast<uint32_t>(n);
    }
    return kErrorSuccess;
  }
  int32_t Close(FileHandle hFile) override {
    // A write the system held back can fail only now (a full disk, a network
    // share gone): the caller must learn it, as from the write itself.
    return ::close(static_cast<int>(hFile)) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t GetSize(FileHandle hFile, uint64_t* pnSize) override {
    struct stat st;
    if (fstat(static_cast<int>(hFile), &st) != 0) return FromErrno(errno);
    *pnSize = static_cast<uint64_t>(st.st_size);
    return kErrorSuccess;
  }
  int32_t GetLastWriteLocalTime(FileHandle hFile, SystemTime* pTime) override {
    struct stat st;
    if (fstat(static_cast<int>(hFile), &st) != 0) return FromErrno(errno);
    struct tm tmLocal;
    time_t t = st.st_mtim.tv_sec;
    localtime_r(&t, &tmLocal);
    *pTime = SystemTime{tmLocal.tm_year + 1900,
                        tmLocal.tm_mon + 1,
                        tmLocal.tm_mday,
                        tmLocal.tm_hour,
                        tmLocal.tm_min,
                        tmLocal.tm_sec,
                        static_cast<int32_t>(st.st_mtim.tv_nsec / 1000000)};
    return kErrorSuccess;
  }
  int32_t SetLastWriteLocalTime(std::u16string_view sPath, const SystemTime& t) override {
    struct tm tmLocal = {};
    tmLocal.tm_year = t.nYear - 1900;
    tmLocal.tm_mon = t.nMonth - 1;
    tmLocal.tm_mday = t.nDay;
    tmLocal.tm_hour = t.nHour;
    tmLocal.tm_min = t.nMinute;
    tmLocal.tm_sec = t.nSecond;
    tmLocal.tm_isdst = -1;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = mktime(&tmLocal);
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(t.nMilliseconds) * 1000000L;
    return utimensat(AT_FDCWD, NativePath(sPath).c_str(), times, 0) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t FindFirst(std::u16string_view sPattern, FileHandle* phFind, FindData* pData) override {
    *phFind = kInvalidFile;
    size_t sep = sPattern.find_last_of(u"\\/");
    std::u16string folder(sep == std::u16string_view::npos ? u"." : sPattern.substr(0, sep));
    std::u16string mask(sep == std::u16string_view::npos ? sPattern : sPattern.substr(sep + 1));
    if (folder.empty()) folder = u"/";
    DIR* dir = opendir(NativePath(folder).c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR ? kErrorPathNotFound : FromErrno(errno);
    std::string base = NativePath(folder) + "/";
    std::vector<FindData> found;
    while (dirent* e = readdir(dir)) {
      std::u16string name = base::FromUtf8(e->d_name);
      if (!WildcardMatch(mask, name)) continue;
      struct stat st;
      bool isDir = stat((base + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      found.push_back(FindData{name, isDir ? kFileAttributeDirectory : 0x80u});
    }
    closedir(dir);
    if (found.empty()) return kErrorFileNotFound;
    std::sort(found.begin(), found.end(), [](const FindData& a, const FindData& b) { return a.sName < b.sName; });
    FileHandle h = nNextFind_++;
    *pData = found.front();
    searches_[h] = Search{std::move(found), 1};
    *phFind = h;
    return kErrorSuccess;
  }
  int32_t FindNext(FileHandle hFind, FindData* pData) override {
    auto it = searches_.find(hFind);
    if (it == searches_.end()) return kErrorInvalidHandle;
    if (it->second.nNext >= it->second.entries.size()) return kErrorNoMoreFiles;
    *pData = it->second.entries[it->second.nNext++];
    return kErrorSuccess;
  }
  int32_t FindClose(FileHandle hFind) override { return searches_.erase(hFind) ? kErrorSuccess : kErrorInvalidHandle; }
  int32_t MakeDirectory(std::u16string_view sPath) override {
    std::string path = NativePath(sPath);
    if (::mkdir(path.c_str(), 0755) == 0) return kErrorSuccess;
    return errno == ENOENT ? kErrorPathNotFound : FromErrno(errno);
  }
  int32_t RemoveEmptyDirectory(std::u16string_view sPath) override {
    return ::rmdir(NativePath(sPath).c_str()) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t RemoveFile(std::u16string_view sPath) override {
    return ::unlink(NativePath(sPath).c_str()) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t GetSizeByPath(std::u16string_view sPath, uint64_t* pnSize) override {
    struct stat st {};
    const std::string path = NativePath(sPath);
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? MissingStatus(path) : FromErrno(errno);
    if (!S_ISREG(st.st_mode)) return kErrorAccessDenied;
    *pnSize = static_cast<uint64_t>(st.st_size);
    return kErrorSuccess;
  }
  int32_t AppendToFile(std::u16string_view sPath, std::string_view sBytes) override {
    // O_APPEND: each write goes to the end of the file as it is then.
    const std::string path = NativePath(sPath);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return errno == ENOENT ? MissingStatus(path) : FromErrno(errno);
    const ssize_t n = ::write(fd, sBytes.data(), sBytes.size());
    int32_t nStatus = n < 0                                      ? FromErrno(errno)
                      : n != static_cast<ssize_t>(sBytes.size()) ? kErrorDiskFull
                                                                 : kErrorSuccess;
    if (::close(fd) != 0 && nStatus == kErrorSuccess) nStatus = FromErrno(errno);
    return nStatus;
  }
  int32_t MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) override {
    return std::rename(NativePath(sFrom).c_str(), NativePath(sTo).c_str()) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t EmptyFile(std::u16string_view sPath) override {
    struct stat st {};
    const std::string path = NativePath(sPath);
    if (stat(path.c_str(), &st) != 0) return FromErrno(errno);
    if (!S_ISREG(st.st_mode)) return kErrorAccessDenied;
    return truncate(path.c_str(), 0) == 0 ? kErrorSuccess : FromErrno(errno);
  }
  int32_t CreateFolders(std::u16string_view sPath) override {
    const std::string path = NativePath(sPath);
    for (size_t i = path.find('/', 1); i != std::string::npos; i = path.find('/', i + 1))
      ::mkdir(path.substr(0, i).c_str(), 0755);
    ::mkdir(path.c_str(), 0755);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return FromErrno(errno);
    return S_ISDIR(st.st_mode) ? kErrorSuccess : kErrorAlreadyExists;
  }

 private:
  struct Search {
    std::vector<FindData> entries;
    size_t nNext = 0;
  };
  // Search handles are kept apart from file descriptors by starting high.
  FileHandle nNextFind_ = 0x40000000;
  std::map<FileHandle, Search> searches_;
};

}  // namespace

template <>
IFiles& Default<IFiles>() {
  return StaticInstance<PosixFiles>();
}

}  // namespace platform

}  // namespace twinsweep
