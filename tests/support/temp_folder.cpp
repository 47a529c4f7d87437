#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "platform/files.h"

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
  platform::FileHandle h;
  platform::FindData d;
  std::vector<platform::FindData> entries;
  if (files.FindFirst(sPath + u"\\*", &h, &d) == platform::kErrorSuccess) {
    do entries.push_back(d);
    while (files.FindNext(h, &d) == platform::kErrorSuccess);
    files.FindClose(h);
  }
  for (const auto& e : entries) {
    if (e.sName == u"." || e.sName == u"..") continue;
    std::u16string child = sPath + u"\\" + e.sName;
    if (e.nAttributes & platform::kFileAttributeDirectory) RemoveTree(child);
    else files.DeleteFile(child);
  }
  files.RemoveDirectory(sPath);
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::u16string base = SystemTemp();
  while (!base.empty() && (base.back() == u'\\' || base.back() == u'/')) base.pop_back();
  sPath_ = base + u"\\tsw-test-" + base::FromAscii(std::to_string(stamp % 1000000000)) + u"-" +
           base::FromAscii(std::to_string(counter++));
  EXPECT_EQ(platform::Files().CreateDirectory(sPath_), platform::kErrorSuccess) << base::ToUtf8(sPath_);
}

TempFolder::~TempFolder() { RemoveTree(sPath_); }

std::u16string TempFolder::File(std::u16string_view sName) const { return sPath_ + u"\\" + std::u16string(sName); }

std::u16string TempFolder::Write(std::u16string_view sName, std::string_view bytes) const {
  std::u16string path = File(sName);
  platform::FileHandle h;
  EXPECT_EQ(platform::Files().OpenForWrite(path, &h), platform::kErrorSuccess) << base::ToUtf8(path);
  if (h != platform::kInvalidFile) {
    platform::Files().Write(h, reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
    platform::Files().Close(h);
  }
  return path;
}

std::u16string TempFolder::MakeFolder(std::u16string_view sName) const {
  std::u16string path = File(sName);
  platform::Files().CreateDirectory(path);
  return path;
}

std::string ReadAll(const std::u16string& sPath) {
  platform::FileHandle h;
  if (platform::Files().OpenForRead(sPath, &h) != platform::kErrorSuccess) return {};
  std::string out;
  uint8_t buf[4096];
  uint32_t n = 0;
  while (platform::Files().Read(h, buf, sizeof buf, &n) == platform::kErrorSuccess && n > 0)
    out.append(reinterpret_cast<const char*>(buf), n);
  platform::Files().Close(h);
  return out;
}

void SetFileTime(const std::u16string& sPath, int32_t nYear, int32_t nMonth, int32_t nDay, int32_t nHour,
                 int32_t nMinute, int32_t nSecond) {
  platform::SystemTime t{nYear, nMonth, nDay, nHour, nMinute, nSecond, 0};
  EXPECT_EQ(platform::Files().SetLastWriteLocalTime(sPath, t), platform::kErrorSuccess) << base::ToUtf8(sPath);
}

}  // namespace testing_support
