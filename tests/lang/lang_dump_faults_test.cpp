// The form dump when the file system fails it: a write or close that fails
// leaves no dump cut short and is reported with the system's status, a picture
// that cannot be written leaves nothing behind, and a line too long to be read
// back is reported but still written.
#include <set>

#include "lang/forms_fixture.h"
#include "twinsweep/lang/lang_file.h"

using namespace twinsweep;

namespace {

using base::Variant;
using forms_testing::FormsTest;
using forms_testing::OptionsForm;
using forms_testing::TestLang;
using testing_support::ReadAll;

// The real files, except that the nth write to a file whose path contains
// sWhere, or its close, answers nStatus (ERROR_DISK_FULL unless told otherwise).
class FailingWrites : public testing_support::PassThroughFiles {
 public:
  FailingWrites(std::u16string sWhere, int nFailingWrite, bool bFailClose = false)
      : sWhere_(std::move(sWhere)), nFailingWrite_(nFailingWrite), bFailClose_(bFailClose) {}
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override {
    const int32_t rc = real().OpenForWrite(s, p);
    if (rc == platform::kErrorSuccess && s.find(sWhere_) != std::u16string_view::npos) watched_.insert(*p);
    return rc;
  }
  int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override {
    if (watched_.count(h) && ++nWrites_ == nFailingWrite_) return nStatus;
    return real().Write(h, p, n);
  }
  int32_t Close(platform::FileHandle h) override {
    const bool bWatched = watched_.erase(h) != 0;
    const int32_t rc = real().Close(h);
    return bWatched && bFailClose_ ? nStatus : rc;
  }
  int32_t nStatus = platform::kErrorDiskFull;
  int nWrites_ = 0;

 private:
  std::u16string sWhere_;
  int nFailingWrite_;
  bool bFailClose_;
  std::set<platform::FileHandle> watched_;
};

class LangDumpFaults : public FormsTest {
 protected:
  void Dump(int32_t nMode, const platform::FormObjectRef& oForm) {
    lang_.sMainSection = u"TwinsweepLauncher";
    lang_.nDumpForms = nMode;
    lang_.DumpForm(oForm);
    EXPECT_FALSE(base::HasPending());
  }
  bool Exists(const std::u16string& sPath) {
    platform::FileHandle h;
    if (platform::Files().OpenForQuery(sPath, &h) != platform::kErrorSuccess) return false;
    platform::Files().Close(h);
    return true;
  }
  TestLang lang_;
};

TEST_F(LangDumpFaults, AFailedWriteOrCloseRemovesTheDumpAndIsReportedWithTheSystemsStatus) {
  // The header line, a line of the first block, the last block, the close.
  const struct {
    int nFailingWrite;
    bool bFailClose;
  } cases[] = {{1, false}, {2, false}, {9, false}, {0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nFailingWrite);
    FailingWrites files(u".txt", c.nFailingWrite, c.bFailClose);
    platform::ScopedOverride<platform::IFiles> over(files);
    log_.Clear();
    Dump(2, OptionsForm());
    EXPECT_FALSE(Exists(DumpFile(u"frmOptions")));
    EXPECT_EQ(log_.Lines(), std::vector<std::string>{"E|CLang.DumpControls|112|dump file '" +
                                                     base::ToUtf8(DumpFile(u"frmOptions")) +
                                                     "' could not be written (system error 112); it was removed"});
  }
  // The last block is the ninth write: a dump without faults needs exactly nine.
  FailingWrites counting(u".txt", 0);
  platform::ScopedOverride<platform::IFiles> over(counting);
  Dump(2, OptionsForm());
  EXPECT_EQ(counting.nWrites_, 9);
}

TEST_F(LangDumpFaults, APictureWhoseWriteFailsLeavesNoFileAndNoEmptyFolder) {
  FailingWrites files(u".bmp", 1);
  platform::ScopedOverride<platform::IFiles> over(files);
  auto frm = platform::MemoryFormObject::NewForm(u"frmLogo");
  frm->AddControl(u"PictureBox", u"picLogo")->SetPicture(platform::MemoryPicture::Solid(2, 2, 0xFF));
  Dump(1, frm);
  EXPECT_FALSE(Exists(tmp_.Path() + u"\\Dump\\frmLogo\\picLogo.bmp"));
  platform::FindData d;
  platform::FileHandle h;
  EXPECT_NE(platform::Files().FindFirst(tmp_.Path() + u"\\Dump\\frmLogo\\*", &h, &d), platform::kErrorSuccess);
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"E|CLang.DumpControl|75|Path/File access error"});
  EXPECT_NE(ReadAll(DumpFile(u"frmLogo")).find("picLogo.Left"), std::string::npos);
}

// A line the reader cannot take whole (longer than its block) is reported and
// written all the same; a line that fits is not reported.
TEST_F(LangDumpFaults, ALineTooLongToBeReadBackIsReportedAndStillWritten) {
  const size_t nBlock = static_cast<size_t>(CLangFile::kBlockSize);
  for (size_t nCaption : {size_t{100}, nBlock - 16, nBlock - 9, nBlock - 8, nBlock - 7, size_t{4090}, nBlock + 10}) {
    SCOPED_TRACE(nCaption);
    log_.Clear();
    auto frm = platform::MemoryFormObject::NewForm(u"frmLong");
    frm->AddControl(u"Label", u"lblText")->Set(u"Caption", Variant(std::u16string(nCaption, u'x')));
    frm->AddControl(u"Label", u"lblShort")->Set(u"ToolTipText", Variant(u"short"));
    Dump(2, frm);
    const std::string dump = ReadAll(DumpFile(u"frmLong"));
    const size_t nStart = dump.find("lblText\t");
    ASSERT_NE(nStart, std::string::npos);
    const size_t nLine = dump.find("\r\n", nStart) - nStart;
    EXPECT_EQ(dump.compare(nStart + nLine - nCaption - 1, nCaption + 1, std::string(nCaption, 'x') + "\""), 0);
    const std::vector<std::string> want =
        nLine > nBlock ? std::vector<std::string>{"E|CLang.DumpControl|0|the line of 'lblText' is " +
                                                  std::to_string(nLine) + " bytes long, too long to be read back (at most 4096)"}
                       : std::vector<std::string>{};
    EXPECT_EQ(log_.Lines(), want);
  }
}

// The system's own full device, where there is one: a write fails with
// ERROR_DISK_FULL, not a generic status.
TEST(FilesOnAFullDevice, AWriteAnswersDiskFull) {
  platform::FileHandle h = platform::kInvalidFile;
  if (platform::Files().OpenForWrite(u"\\dev\\full", &h) != platform::kErrorSuccess &&
      platform::Files().OpenForWrite(u"Z:\\dev\\full", &h) != platform::kErrorSuccess)
    GTEST_SKIP() << "no full device";
  const uint8_t data[4096] = {};
  EXPECT_EQ(platform::Files().Write(h, data, sizeof data), platform::kErrorDiskFull);
  platform::Files().Close(h);
}

}  // namespace
