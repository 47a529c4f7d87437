// The native build's diagnostics: files and time are real, the local application
// data folder is $LOCALAPPDATA when set, and there is no debugger channel (the
// debug output goes nowhere).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/diagnostics.h"
#include "twinsweep/platform/posix/posix_paths.h"

namespace twinsweep {

namespace platform {
namespace {

using posix::NativePath;

class PosixDiagnostics : public IDiagnostics {
 public:
  void DebugOutput(std::u16string_view) override {}

  SystemTime LocalTime() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm t{};
    localtime_r(&tv.tv_sec, &t);
    return {t.tm_year + 1900,
            t.tm_mon + 1,
            t.tm_mday,
            t.tm_hour,
            t.tm_min,
            t.tm_sec,
            static_cast<int32_t>(tv.tv_usec / 1000)};
  }

  uint32_t ProcessId() override { return static_cast<uint32_t>(getpid()); }

  std::u16string LocalAppDataFolder() override {
    const char* p = std::getenv("LOCALAPPDATA");
    return p ? base::FromUtf8(p) : u"";
  }

  int64_t FileSize(std::u16string_view sPath) override {
    struct stat st {};
    if (stat(NativePath(sPath).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
  }

  bool AppendToFile(std::u16string_view sPath, std::string_view sBytes) override {
    const int fd = open(NativePath(sPath).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const ssize_t n = write(fd, sBytes.data(), sBytes.size());
    const bool bClosed = close(fd) == 0;
    return bClosed && n == static_cast<ssize_t>(sBytes.size());
  }

  bool MoveReplacing(std::u16string_view sFrom, std::u16string_view sTo) override {
    return std::rename(NativePath(sFrom).c_str(), NativePath(sTo).c_str()) == 0;
  }

  bool EmptyFile(std::u16string_view sPath) override {
    struct stat st {};
    const std::string path = NativePath(sPath);
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && truncate(path.c_str(), 0) == 0;
  }

  bool CreateFolders(std::u16string_view sPath) override {
    const std::string path = NativePath(sPath);
    for (size_t i = path.find('/', 1); i != std::string::npos; i = path.find('/', i + 1))
      mkdir(path.substr(0, i).c_str(), 0755);
    mkdir(path.c_str(), 0755);
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  uint32_t LastError() override { return static_cast<uint32_t>(errno); }

  std::u16string ErrorText(uint32_t nError) override { return base::FromUtf8(std::strerror(static_cast<int>(nError))); }
};

}  // namespace

template <>
IDiagnostics& Default<IDiagnostics>() {
  static PosixDiagnostics diagnostics;
  return diagnostics;
}

}  // namespace platform

}  // namespace twinsweep
