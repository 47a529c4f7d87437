#include <gtest/gtest.h>

#include <vector>

#include "twinsweep/base/date.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/file_utils.h"
#include "support/log_capture.h"
#include "support/pass_through_files.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

using testing_support::TempFolder;

TEST(FileUtils, FilesAndFoldersAreToldApart) {
  TempFolder dir;
  std::u16string file = dir.Write(u"f.txt", "x");
  std::u16string folder = dir.MakeFolder(u"Twinsweep.chm");
  EXPECT_TRUE(mFileUtils::FileExists(file));
  EXPECT_FALSE(mFileUtils::FileExists(folder));
  EXPECT_FALSE(mFileUtils::FileExists(dir.File(u"missing")));
  EXPECT_TRUE(mFileUtils::FolderExists(folder));
  EXPECT_FALSE(mFileUtils::FolderExists(file));
  EXPECT_FALSE(mFileUtils::FolderExists(dir.File(u"missing")));
}

TEST(FileUtils, ModificationTimeIsLocalWholeSecondsAndUntouchedOnFailure) {
  TempFolder dir;
  std::u16string file = dir.Write(u"f.txt", "x");
  testing_support::SetFileTime(file, 2023, 11, 5, 8, 9, 10);
  base::Date dt;
  ASSERT_TRUE(mFileUtils::GetFileLastModificationTime(file, dt));
  EXPECT_EQ(base::FormatRegistryDate(dt), u"2023.11.05 08:09:10");
  base::Date keep{123.0};
  testing_support::LogCapture log;
  EXPECT_FALSE(mFileUtils::GetFileLastModificationTime(dir.File(u"missing"), keep));
  EXPECT_EQ(keep.dValue, 123.0);
  EXPECT_TRUE(log.Entries().empty());
}

// A file system that knows only the folders created through it, to follow the
// exact levels CreateFolder asks for, with a drive path in both builds.
class RecordingFolders : public testing_support::PassThroughFiles {
 public:
  std::vector<std::u16string> created;
  std::vector<std::u16string> existing{u"C:"};
  bool Exists(std::u16string_view p) const {
    for (const auto& e : existing)
      if (e == p) return true;
    return false;
  }
  int32_t MakeDirectory(std::u16string_view p) override {
    created.emplace_back(p);
    if (Exists(p)) return platform::kErrorAlreadyExists;
    auto slash = p.find_last_of(u'\\');
    if (slash == std::u16string_view::npos || !Exists(p.substr(0, slash))) return platform::kErrorPathNotFound;
    existing.emplace_back(p);
    return 0;
  }
  int32_t FindFirst(std::u16string_view pattern, platform::FileHandle* h, platform::FindData* d) override {
    if (pattern.size() < 2 || !Exists(pattern.substr(0, pattern.size() - 2))) return platform::kErrorPathNotFound;
    *h = 1;
    d->sName.assign(1, u'.');  // gcc 12 warns falsely (-Wrestrict) on assigning the literal here
    return 0;
  }
  int32_t FindClose(platform::FileHandle) override { return 0; }
};

TEST(FileUtils, CreateFolderBuildsADrivePathLevelByLevel) {
  struct Case {
    const char16_t* path;
    bool bResult;
    std::vector<std::u16string> levels;
  } cases[] = {
      {u"C:\\x\\y\\z", true, {u"C:\\x\\y\\z", u"C:", u"C:\\x", u"C:\\x\\y", u"C:\\x\\y\\z"}},
      {u"C:/x/y", true, {u"C:/x/y", u"C:", u"C:\\x", u"C:\\x\\y"}},
      {u"C:\\x\\", true, {u"C:\\x\\", u"C:", u"C:\\x"}},
      {u"C:", true, {u"C:"}},
      {u"rel\\a", false, {u"rel\\a"}},
      {u"\\\\server\\share\\new", false, {u"\\\\server\\share\\new"}},
      {u"D:\\a", false, {u"D:\\a", u"D:"}},
  };
  for (const auto& c : cases) {
    RecordingFolders fs;
    platform::ScopedOverride<platform::IFiles> o(fs);
    EXPECT_EQ(mFileUtils::CreateFolder(c.path), c.bResult) << base::ToUtf8(c.path);
    EXPECT_EQ(fs.created, c.levels) << base::ToUtf8(c.path);
  }
}

TEST(FileUtils, CreateFolderOnTheRealFileSystem) {
  TempFolder dir;
  EXPECT_TRUE(mFileUtils::CreateFolder(dir.Path()));  // exists already
  std::u16string nested = dir.File(u"a\\b\\c");
  // Only a path with a drive (as under Windows) is built level by level.
  bool bDrivePath = dir.Path().find(u':') != std::u16string::npos;
  EXPECT_EQ(mFileUtils::CreateFolder(nested), bDrivePath);
  EXPECT_EQ(mFileUtils::FolderExists(nested), bDrivePath);
}

}  // namespace
