// File behaviours the program relies on, in the Windows vocabulary, against the
// build's own file system (POSIX natively, Wine's in the Windows tree).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

using testing_support::TempFolder;

platform::IFiles& Files() { return platform::Files(); }

TEST(FilesContract, OpeningAMissingFileAnswersTwoAndAMissingFolderThree) {
  TempFolder dir;
  platform::FileHandle h;
  EXPECT_EQ(Files().OpenForRead(dir.File(u"absent.txt"), &h), platform::kErrorFileNotFound);
  EXPECT_EQ(h, platform::kInvalidFile);
  EXPECT_EQ(Files().OpenForQuery(dir.File(u"no\\such.txt"), &h), platform::kErrorPathNotFound);
}

// The system reads a path only up to a NUL: a path with an inner one would name a
// shorter path than was asked for (a program instead of its help file). It names
// no file at all.
TEST(FilesContract, APathWithAnInnerNulNamesNoFile) {
  TempFolder dir;
  const std::u16string sProgram = dir.Write(u"prog.exe", "program");
  const std::u16string sCut = sProgram + u'\0' + u"_Twinsweep.chm";
  platform::FileHandle h;
  EXPECT_EQ(Files().OpenForQuery(sCut, &h), platform::kErrorFileNotFound);
  EXPECT_EQ(h, platform::kInvalidFile);
  EXPECT_EQ(Files().OpenForRead(sCut, &h), platform::kErrorFileNotFound);
  platform::FindData data;
  EXPECT_EQ(Files().FindFirst(sCut, &h, &data), platform::kErrorFileNotFound);
  EXPECT_EQ(Files().RemoveFile(sCut), platform::kErrorFileNotFound);
  EXPECT_NE(Files().MakeDirectory(dir.File(u"new") + u'\0' + u"x"), platform::kErrorSuccess);
  EXPECT_EQ(testing_support::ReadAll(sProgram), "program");
  EXPECT_NE(Files().OpenForQuery(dir.File(u"new"), &h), platform::kErrorSuccess);
}

TEST(FilesContract, AFolderIsNotAFile) {
  TempFolder dir;
  std::u16string sub = dir.MakeFolder(u"sub");
  platform::FileHandle h;
  EXPECT_NE(Files().OpenForQuery(sub, &h), platform::kErrorSuccess);
  EXPECT_NE(Files().OpenForRead(sub, &h), platform::kErrorSuccess);
}

TEST(FilesContract, ReadGivesTheBytesThenZeroAtTheEnd) {
  TempFolder dir;
  std::u16string path = dir.Write(u"data.bin", std::string("abc\r\n\xff", 6));
  platform::FileHandle h;
  ASSERT_EQ(Files().OpenForRead(path, &h), 0);
  uint8_t buf[16];
  uint32_t n = 0;
  ASSERT_EQ(Files().Read(h, buf, sizeof buf, &n), 0);
  EXPECT_EQ(n, 6u);
  EXPECT_EQ(buf[5], 0xFF);
  ASSERT_EQ(Files().Read(h, buf, sizeof buf, &n), 0);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(Files().Close(h), 0);
}

TEST(FilesContract, WritingReplacesAnExistingFile) {
  TempFolder dir;
  std::u16string path = dir.Write(u"f.txt", "a long first content");
  dir.Write(u"f.txt", "short");
  EXPECT_EQ(testing_support::ReadAll(path), "short");
}

TEST(FilesContract, DirectorySearchFollowsTheWildcardWithoutRegardToCase) {
  TempFolder dir;
  dir.Write(u"one.lng", "");
  dir.Write(u"TWO.LNG", "");
  dir.Write(u"three.txt", "");
  dir.MakeFolder(u"folder.lng");
  std::set<std::u16string> names;
  platform::FileHandle h;
  platform::FindData d;
  ASSERT_EQ(Files().FindFirst(dir.Path() + u"\\*.lng", &h, &d), 0);
  do names.insert(d.sName + ((d.nAttributes & platform::kFileAttributeDirectory) ? u"/" : u""));
  while (Files().FindNext(h, &d) == 0);
  EXPECT_EQ(Files().FindNext(h, &d), platform::kErrorNoMoreFiles);
  Files().FindClose(h);
  EXPECT_EQ(names, (std::set<std::u16string>{u"one.lng", u"TWO.LNG", u"folder.lng/"}));
  EXPECT_NE(Files().FindFirst(dir.Path() + u"\\*.xyz", &h, &d), platform::kErrorSuccess);
  EXPECT_NE(Files().FindFirst(dir.File(u"missing") + u"\\*", &h, &d), platform::kErrorSuccess);
}

TEST(FilesContract, AnEmptyFolderStillListsItsDotEntry) {
  TempFolder dir;
  platform::FileHandle h;
  platform::FindData d;
  ASSERT_EQ(Files().FindFirst(dir.Path() + u"\\*", &h, &d), 0);
  EXPECT_EQ(d.sName, u".");
  Files().FindClose(h);
}

TEST(FilesContract, LastWriteTimeReadsBackWhatWasSet) {
  TempFolder dir;
  std::u16string path = dir.Write(u"t.txt", "x");
  testing_support::SetFileTime(path, 2021, 6, 15, 13, 45, 30);
  platform::FileHandle h;
  ASSERT_EQ(Files().OpenForQuery(path, &h), 0);
  platform::SystemTime t;
  ASSERT_EQ(Files().GetLastWriteLocalTime(h, &t), 0);
  Files().Close(h);
  EXPECT_EQ((std::vector<int>{t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond}),
            (std::vector<int>{2021, 6, 15, 13, 45, 30}));
}

TEST(FilesContract, SizeOfAnOpenFileIsItsBytesAsTheyStandNow) {
  TempFolder dir;
  for (const std::string& bytes : {std::string(), std::string(70000, 'x')}) {
    const std::u16string path = dir.Write(u"s.txt", bytes);
    platform::FileHandle h;
    ASSERT_EQ(Files().OpenForRead(path, &h), 0);
    uint64_t nSize = 1;
    EXPECT_EQ(Files().GetSize(h, &nSize), 0);
    Files().Close(h);
    EXPECT_EQ(nSize, bytes.size());
  }
}

TEST(FilesContract, FoldersAreCreatedOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
  TempFolder dir;
  EXPECT_EQ(Files().MakeDirectory(dir.File(u"a\\b")), platform::kErrorPathNotFound);
  EXPECT_EQ(Files().MakeDirectory(dir.File(u"a")), 0);
  EXPECT_EQ(Files().MakeDirectory(dir.File(u"a")), platform::kErrorAlreadyExists);
  EXPECT_EQ(Files().MakeDirectory(dir.File(u"a\\b")), 0);
  EXPECT_NE(Files().RemoveEmptyDirectory(dir.File(u"a")), 0);
  EXPECT_EQ(Files().RemoveEmptyDirectory(dir.File(u"a\\b")), 0);
  EXPECT_EQ(Files().RemoveEmptyDirectory(dir.File(u"a")), 0);
}

}  // namespace
