#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"

using namespace twinsweep;

namespace testing_support {
namespace {

// The system's temporary folder in the program's path form: %TEMP% under
// Windows, $TMPDIR or /tmp natively.
std::u16string SystemTemp() {
  for (const char* name : {"TEMP", "TMP", "TMPDIR"})
    if (const char* v = std::getenv(name); v && *v) return base::FromUtf8(v);
  return u"/tmp";
}

void RemoveTree(const std::u16string& sPath) {
  platform::IFiles& files = platform::Files();
  std::vector<platform::FindData> entries;
  {
    platform::ScopedFind hFind;
    platform::FindData d;
    if (files.FindFirst(sPath + u"\\*", hFind.Receive(), &d) == platform::kErrorSuccess) {
      do entries.push_back(d);
      while (files.FindNext(hFind.Get(), &d) == platform::kErrorSuccess);
    }
  }
  for (const auto& e : entries) {
    if (e.sName == u"." || e.sName == u"..") continue;
    std::u16string child = sPath + u"\\" + e.sName;
    if (e.nAttributes & platform::kFileAttributeDirectory) RemoveTree(child);
    else files.RemoveFile(child);
  }
  files.RemoveEmptyDirectory(sPath);
}

// Appends every byte of the file to sBytes; false when it cannot be opened or a
// read fails (sBytes then holds what was read before).
bool ReadWhole(const std::u16string& sPath, std::string& sBytes) {
  platform::ScopedFile hFile;
  if (platform::Files().OpenForRead(sPath, hFile.Receive()) != platform::kErrorSuccess) return false;
  uint8_t buffer[4096];
  for (;;) {
    uint32_t n = 0;
    if (platform::Files().Read(hFile.Get(), buffer, sizeof buffer, &n) != platform::kErrorSuccess) return false;
    if (n == 0) return true;
    sBytes.append(reinterpret_cast<const char*>(buffer), n);
  }
}

}  // namespace

TempFolder::TempFolder(std::u16string_view sPrefix) {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::u16string base = SystemTemp();
  while (!base.empty() && (base.back() == u'\\' || base.back() == u'/')) base.pop_back();
  sPath_ = base + u"\\" + std::u16string(sPrefix) + u"-" + base::FromAscii(std::to_string(stamp % 1000000000)) +
           u"-" + base::FromAscii(std::to_string(counter++));
  EXPECT_EQ(platform::Files().MakeDirectory(sPath_), platform::kErrorSuccess) << base::ToUtf8(sPath_);
}

TempFolder::~TempFolder() { RemoveTree(sPath_); }

std::u16string TempFolder::File(std::u16string_view sName) const { return sPath_ + u"\\" + std::u16string(sName); }

std::u16string TempFolder::Write(std::u16string_view sName, std::string_view bytes) const {
  std::u16string path = File(sName);
  platform::ScopedFile hFile;
  EXPECT_EQ(platform::Files().OpenForWrite(path, hFile.Receive()), platform::kErrorSuccess) << base::ToUtf8(path);
  if (hFile.IsValid()) {
    EXPECT_EQ(platform::Files().Write(hFile.Get(), reinterpret_cast<const uint8_t*>(bytes.data()),
                                      static_cast<uint32_t>(bytes.size())),
              platform::kErrorSuccess)
        << base::ToUtf8(path);
  }
  return path;
}

std::u16string TempFolder::MakeFolder(std::u16string_view sName) const {
  std::u16string path = File(sName);
  EXPECT_EQ(platform::Files().MakeDirectory(path), platform::kErrorSuccess) << base::ToUtf8(path);
  return path;
}

std::u16string TempFolder::CopyIn(std::u16string_view sSource, std::u16string_view sName) const {
  std::string sBytes;
  EXPECT_TRUE(ReadWhole(std::u16string(sSource), sBytes)) << base::ToUtf8(std::u16string(sSource));
  return Write(sName, sBytes);
}

std::string ReadAll(const std::u16string& sPath) {
  std::string sBytes;
  ReadWhole(sPath, sBytes);
  return sBytes;
}

void SetFileTime(const std::u16string& sPath, int32_t nYear, int32_t nMonth, int32_t nDay, int32_t nHour,
                 int32_t nMinute, int32_t nSecond) {
  platform::SystemTime t{nYear, nMonth, nDay, nHour, nMinute, nSecond, 0};
  EXPECT_EQ(platform::Files().SetLastWriteLocalTime(sPath, t), platform::kErrorSuccess) << base::ToUtf8(sPath);
}

}  // namespace testing_support
