// The form dump writer: the file of each mode byte for byte, pictures, and the
// reports when the dump cannot be written.
#include "lang/forms_fixture.h"
#include "twinsweep/lang/lang_syntax.h"

namespace {

using base::Variant;
using forms_testing::Crlf;
using forms_testing::FormsTest;
using forms_testing::OptionsForm;
using forms_testing::TestLang;
using testing_support::ReadAll;

class LangDump : public FormsTest {
 protected:
  std::string Dump(int32_t nMode, const platform::FormObjectRef& oForm) {
    lang_.sMainSection = u"TwinsweepLauncher";
    lang_.nDumpForms = nMode;
    lang_.DumpForm(oForm);
    return ReadAll(DumpFile(oForm->Name()));
  }
  TestLang lang_;
};

// Modes 2 and 3 write the same commented texts; mode 3 leaves out the empty text.
const std::string kCommentedTextsHead = u8R"([TwinsweepLauncher.frmOptions]
; (frmOptions)
.Caption⇥⇥⇥="Options"
; cmdOK(CommandButton)
cmdOK⇥⇥⇥⇥="OK"
; lblInfo(0)(Label)
lblInfo(0)⇥⇥⇥="Line one\nLine two"
; txtName(TextBox)
)";
const std::string kEmptyText = u8R"(txtName⇥⇥⇥⇥=""
)";
const std::string kCommentedTextsTail = u8R"(txtName.ToolTipText⇥⇥="""name"""
)";

TEST_F(LangDump, ModeTwoWritesTheCommentedTexts) {
  EXPECT_EQ(Dump(2, OptionsForm()), Crlf(kCommentedTextsHead + kEmptyText + kCommentedTextsTail));
  EXPECT_TRUE(log_.Entries().empty()) << log_.Lines()[0];
}

TEST_F(LangDump, ModeOneAddsGeometryAndLineEndsBehindEmptyLines) {
  EXPECT_EQ(Dump(1, OptionsForm()), Crlf(u8R"([TwinsweepLauncher.frmOptions]

.Caption⇥⇥⇥="Options"
.Left⇥⇥⇥⇥="0"
.Top⇥⇥⇥⇥="0"
.Width⇥⇥⇥⇥="4800"
.Height⇥⇥⇥⇥="3600"

cmdOK⇥⇥⇥⇥="OK"
cmdOK.Left⇥⇥⇥="120"
cmdOK.Top⇥⇥⇥="240"
cmdOK.Width⇥⇥⇥="1215"
cmdOK.Height⇥⇥⇥="375"

lblInfo(0)⇥⇥⇥="Line one\nLine two"
lblInfo(0).Left⇥⇥⇥="120"
lblInfo(0).Top⇥⇥⇥="720"
lblInfo(0).Width⇥⇥="3000"
lblInfo(0).Height⇥⇥="615"

txtName⇥⇥⇥⇥=""
txtName.Left⇥⇥⇥="120"
txtName.Top⇥⇥⇥="1440"
txtName.Width⇥⇥⇥="2000"
txtName.Height⇥⇥⇥="315"
txtName.ToolTipText⇥⇥="""name"""

linSep.X1⇥⇥⇥="120"
linSep.Y1⇥⇥⇥="1900"
linSep.X2⇥⇥⇥="4560"
linSep.Y2⇥⇥⇥="1900"
)"));
}

TEST_F(LangDump, ModeThreeKeepsOnlyNonEmptyTexts) {
  EXPECT_EQ(Dump(3, OptionsForm()), Crlf(kCommentedTextsHead + kCommentedTextsTail));
}

TEST_F(LangDump, EachDumpReplacesTheFileAndAFormWithoutControlsGivesItsOwnBlock) {
  Dump(2, OptionsForm());
  auto bare = platform::MemoryFormObject::NewForm(u"frmOptions");
  bare->Set(u"Caption", Variant(u"Bare"));
  EXPECT_EQ(Dump(2, bare), Crlf("[TwinsweepLauncher.frmOptions]\n; (frmOptions)\n.Caption\t\t\t=\"Bare\"\n"));
}

// The container's caption line stands in modes 1 and 2 even when it has no caption.
TEST_F(LangDump, UserControlIsDumpedUnderTheGivenName) {
  auto uc = platform::MemoryFormObject::NewUserControl(u"ctlHeader");
  uc->AddControl(u"Label", u"lblTitle")->Set(u"Caption", Variant(u"Title"));
  lang_.sMainSection = u"Main";
  lang_.nDumpForms = 2;
  lang_.DumpUserControl(u"ucHeader", uc, uc->Controls());
  EXPECT_EQ(ReadAll(DumpFile(u"ucHeader")),
            Crlf("[Main.ucHeader]\n; (ctlHeader)\n.Caption\t\t\t=\"\"\n; lblTitle(Label)\nlblTitle\t\t\t=\"Title\"\n"));
}

TEST_F(LangDump, PicturesAreSavedBesideTheDumpAndNamedByFullPath) {
  auto frm = platform::MemoryFormObject::NewForm(u"frmLogo");
  frm->SetPicture(platform::MemoryPicture::Solid(2, 2, 0x336699));
  auto pic = frm->AddControl(u"PictureBox", u"picLogo");
  pic->SetPicture(platform::MemoryPicture::Solid(3, 1, 0xFF0000));
  frm->AddControl(u"Image", u"imgEmpty");  // no image: no file, no line
  const std::string dump = Dump(1, frm);

  const std::u16string sFolder = tmp_.Path() + u"\\Dump\\frmLogo";
  const std::string sEscaped = base::ToUtf8(EscapeValue(sFolder));
  EXPECT_NE(dump.find(".Picture\t\t\t= \"" + sEscaped + "\\\\.bmp\"\r\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("picLogo.Picture\t\t\t= \"" + sEscaped + "\\\\picLogo.bmp\"\r\n"), std::string::npos) << dump;
  EXPECT_EQ(dump.find("imgEmpty.Picture"), std::string::npos);
  platform::MemoryForms forms;
  auto back = std::dynamic_pointer_cast<platform::MemoryPicture>(forms.LoadPicture(sFolder + u"\\picLogo.bmp"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Image().pixels, std::vector<uint32_t>(3, 0xFF0000));
  EXPECT_FALSE(ReadAll(sFolder + u"\\.bmp").empty());
}

TEST_F(LangDump, APictureThatCannotBeSavedIsReportedAndItsFolderRemoved) {
  forms_testing::RefusingFiles files(u".bmp");
  platform::ScopedOverride<platform::IFiles> over(files);
  auto frm = platform::MemoryFormObject::NewForm(u"frmLogo");
  frm->AddControl(u"PictureBox", u"picLogo")->SetPicture(platform::MemoryPicture::Solid(1, 1, 0));
  const std::string dump = Dump(1, frm);
  EXPECT_EQ(dump.find("Picture"), std::string::npos);
  EXPECT_NE(dump.find("picLogo.Left"), std::string::npos);
  ASSERT_EQ(log_.Lines(), std::vector<std::string>{"E|CLang.DumpControl|75|Path/File access error"});
  EXPECT_EQ(files.removed, std::vector<std::u16string>{tmp_.Path() + u"\\Dump\\frmLogo"});
}

TEST_F(LangDump, ADumpThatCannotBeWrittenIsReportedAndNothingIsLeftOpen) {
  // A folder that cannot be created leaves no path for the file; a file refused as such.
  const struct {
    const char16_t* sRefused;
    int32_t nOpenStatus;
    const char* sReport;
  } cases[] = {{u"\\Dump", platform::kErrorPathNotFound, "E|CLang.DumpControls|76|Path not found"},
               {u".txt", platform::kErrorAccessDenied, "E|CLang.DumpControls|75|Path/File access error"}};
  for (const auto& c : cases) {
    forms_testing::RefusingFiles files(c.sRefused, c.nOpenStatus);
    platform::ScopedOverride<platform::IFiles> over(files);
    log_.Clear();
    lang_.nDumpForms = 2;
    lang_.DumpForm(OptionsForm());
    EXPECT_EQ(log_.Lines(), std::vector<std::string>{c.sReport});
    EXPECT_EQ(files.nCloses, 0);
    EXPECT_FALSE(base::HasPending());
  }
}

}  // namespace
