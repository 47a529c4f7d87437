// Form localization: the key grammar and its reports, the fifteen properties,
// pictures, the reload of a changed file, and the round trip through a dump.
#include "lang/forms_fixture.h"

namespace {

using base::Variant;
using forms_testing::Crlf;
using forms_testing::FormsTest;
using forms_testing::OptionsForm;
using testing_support::ReadAll;

constexpr char kHead[] = R"([version]
signature = "Orvex.LangLngFile"
lang      = "English"
langid    = "EN"

[TwinsweepLauncher]
globals   = "texts"
)";

// A language file whose main section lists sForms as forms, followed by sBody.
std::string LanguageFile(const std::string& sForms, const std::string& sBody, const std::string& sDump = "") {
  return Crlf(std::string(kHead) + "forms     = \"" + sForms + "\"\n" + (sDump.empty() ? "" : "dumpforms = \"" + sDump + "\"\n") +
              "\n[TwinsweepLauncher.texts]\nLID_TITLE = \"Twinsweep\"\n\n" + sBody);
}

// frmOptions with the controls the key examples name.
std::shared_ptr<platform::MemoryFormObject> KeyForm() {
  auto frm = OptionsForm();
  frm->Set(u"Left", Variant(600));
  frm->AddControl(u"Label", u"lblHint");
  for (int32_t i = 0; i <= 3; ++i) frm->AddControl(u"OptionButton", u"optMode", i)->Set(u"Caption", Variant(u"mode"));
  frm->AddControl(u"Image", u"imgLogo");
  frm->AddControl(u"Label", u"lbl'Quote");
  auto cmd = std::dynamic_pointer_cast<platform::MemoryFormObject>(frm->Controls()->Find(u"cmdOK"));
  cmd->Set(u"Left", Variant(1200));
  return frm;
}

std::u16string Text(const platform::FormObjectRef& o, std::u16string_view sProperty) {
  return base::CStr(o->GetProperty(sProperty));
}

platform::FormObjectRef Control(const platform::FormObjectRef& frm, std::u16string_view sName) {
  return frm->Controls()->Find(sName);
}

class LangLocalize : public FormsTest {
 protected:
  // Loads a language file with the section of frmOptions and localizes a fresh
  // KeyForm with it; answers the reports of the localization only.
  std::vector<std::string> Localize(const std::string& sSection, const std::string& sDump = "") {
    const std::u16string sPath = tmp_.Write(u"EN.lng", LanguageFile("frmOptions", "[TwinsweepLauncher.frmOptions]\n" + sSection, sDump));
    EXPECT_TRUE(lang_.Init(sPath, u"TwinsweepLauncher"));
    log_.Clear();
    frm_ = KeyForm();
    lang_.LocalizeForm(frm_);
    EXPECT_FALSE(base::HasPending());
    std::vector<std::string> errors;
    for (const std::string& s : log_.Lines())
      if (s[0] == 'E') errors.push_back(s);
    return errors;
  }
  CLang lang_;
  platform::FormObjectRef frm_;
};

TEST_F(LangLocalize, EachBadEntryIsReportedExactly) {
  const std::string kFail = "E|CLang.LocalizeControls|0|";
  const std::string kFit = "E|CLang.CheckFit|0|text of control ";
  const std::string kOnForm = "|frmOptions";  // the report's fields: the form, and the fit check's control and pixels
  const struct {
    const char* sEntry;
    std::vector<std::string> reports;
  } cases[] = {
      {"cmdOK.Text = \"x\"", {kFail + "'text' property does not supported" + kOnForm}},
      {"cmdOK.Font.Bold = \"1\"", {kFail + "'font.bold' property does not supported" + kOnForm}},
      {"ghost.Caption = \"x\"", {kFail + "'ghost' control does not exist on 'frmOptions' form" + kOnForm}},
      {"ghost(1).Caption = \"x\"", {kFail + "'ghost(1)' control does not exist on 'frmOptions' form" + kOnForm}},
      {"optMode(1 = \"x\"", {kFail + "invalid key 'optmode(1' for form 'frmOptions'" + kOnForm}},
      {"optMode().Caption = \"x\"", {kFail + "invalid key 'optmode().caption' for form 'frmOptions'" + kOnForm}},
      {"optMode(x).Caption = \"x\"", {kFail + "invalid key 'optmode(x).caption' for form 'frmOptions'" + kOnForm}},
      {"optMode(9999999999).Caption = \"x\"",
       {kFail + "invalid key 'optmode(9999999999).caption' for form 'frmOptions'" + kOnForm}},
      {"(2).Left = \"5\"", {kFail + "invalid key '(2).left' for form 'frmOptions'" + kOnForm}},
      {"optMode(9).Caption = \"x\"",
       {"E|CLang.LocalizeControls|340|Control array element '9' doesn't exist|frmOptions",
        kFail + "'optmode(9)' control does not exist on 'frmOptions' form" + kOnForm}},
      {"cmdOK(1).Caption = \"x\"",
       {"E|CLang.LocalizeControls|343|Object not an array|frmOptions",
        kFail + "'cmdok(1)' control does not exist on 'frmOptions' form" + kOnForm}},
      {"imgLogo.Picture = \"C:\\\\logo.bmp\"",
       {kFail + "You should specify a relative file path for frmOptions.imglogo.picture" + kOnForm}},
      {"cmdOK.Left = \"abc\"", {}},
      {"lblHint.Picture = \"none.bmp\"", {}},
      {"imgLogo.Picture = \"missing.bmp\"", {}},
      {"txtName = \"no caption\"", {}},
      // The fit check (10 % margin) of what an entry changed, in the fixed extents of
      // the in-memory framework: 6 px a character, 13 px a line.
      {"cmdOK = \"Accept these\"", {kFit + "'cmdok' on form 'frmOptions' needs 80 px, has 75 px|frmOptions|cmdok|80|75"}},
      {"cmdOK = \"Accept them\"", {}},
      // As drawn: an access key's "&" takes no room, "&&" is one character.
      {"cmdOK = \"&Accept them\"", {}},
      {"cmdOK = \"Accept the&&m\"", {kFit + "'cmdok' on form 'frmOptions' needs 80 px, has 75 px|frmOptions|cmdok|80|75"}},
      {"lblInfo(0) = \"One\\nTwo\\nThree\"", {kFit + "'lblinfo(0)' on form 'frmOptions' needs 43 px, has 41 px|frmOptions|lblinfo(0)|43|41"}},
      {"lblInfo(0) = \"One\\nTwo\"", {}},
      {"lbl'Quote = \"x\"", {kFit + "'lbl'quote' on form 'frmOptions' needs 6 px, has 0 px|frmOptions|lbl'quote|6|0"}},
  };
  lang_.SetFitCheck(LangFitCheck{true, 10});
  for (const auto& c : cases) EXPECT_EQ(Localize(std::string(c.sEntry) + "\n"), c.reports) << c.sEntry;

  // An entry applied without its bad index still reaches its target.
  Localize("(2).Left = \"5\"\n");
  EXPECT_EQ(Text(frm_, u"Left"), u"5");
}

TEST_F(LangLocalize, TextsPositionsAndLineEndsAreApplied) {
  platform::MemoryForms forms;
  forms.SetTwipsPerPixel(15, 12);
  platform::ScopedOverride<platform::IForms> over(forms);
  EXPECT_EQ(Localize(R"(cmdOK = "OK!"
.Caption = "Options"
lblHint.ToolTipText = "Line 1\nLine 2"
cmdOK.dleft = "10"
cmdOK.dwidth = "-4"
cmdOK.dtop = "2"
cmdOK.DHEIGHT = "1"
OPTMODE( 2 ).Left = " 2.5 "
optMode(3).top = "3.5"
optMode(1).Width = "77"
optMode(1).height = "66"
linSep.x1 = "1"
linSep.Y1 = "2"
linSep.x2 = "3"
linSep.y2 = "4"
txtName.tooltiptext = "tab\there"
)"),
            std::vector<std::string>{});
  auto cmd = Control(frm_, u"cmdOK");
  EXPECT_EQ(Text(cmd, u"Caption"), u"OK!");
  EXPECT_EQ(Text(frm_, u"Caption"), u"Options");
  EXPECT_EQ(Text(Control(frm_, u"lblHint"), u"ToolTipText"), u"Line 1\r\nLine 2");
  EXPECT_EQ(Text(cmd, u"Left"), u"1350");
  EXPECT_EQ(Text(cmd, u"Width"), u"1155");
  EXPECT_EQ(Text(cmd, u"Top"), u"264");
  EXPECT_EQ(Text(cmd, u"Height"), u"387");
  auto opt = Control(frm_, u"optMode");
  EXPECT_EQ(Text(opt->Element(2), u"Left"), u"2");
  EXPECT_EQ(Text(opt->Element(3), u"Top"), u"4");
  EXPECT_EQ(Text(opt->Element(1), u"Width"), u"77");
  EXPECT_EQ(Text(opt->Element(1), u"Height"), u"66");
  auto lin = Control(frm_, u"linSep");
  EXPECT_EQ(Text(lin, u"X1") + Text(lin, u"Y1") + Text(lin, u"X2") + Text(lin, u"Y2"), u"1234");
  EXPECT_EQ(Text(Control(frm_, u"txtName"), u"ToolTipText"), u"tab\there");
}

TEST_F(LangLocalize, EntriesApplyInFileOrder) {
  Localize("cmdOK.left = \"100\"\ncmdOK.dleft = \"2\"\n");
  EXPECT_EQ(Text(Control(frm_, u"cmdOK"), u"Left"), u"130");
  Localize("cmdOK.dleft = \"2\"\ncmdOK.left = \"100\"\n");
  EXPECT_EQ(Text(Control(frm_, u"cmdOK"), u"Left"), u"100");
}

TEST_F(LangLocalize, PicturesLoadFromBelowTheApplicationFolder) {
  platform::MemoryForms forms;
  tmp_.MakeFolder(u"images");
  forms.SavePicture(platform::MemoryPicture::Solid(2, 3, 0x00FF00), tmp_.File(u"images\\logo.bmp"));
  EXPECT_EQ(Localize("imgLogo.Picture = \"images\\\\logo.bmp\"\n"), std::vector<std::string>{});
  auto pic = std::dynamic_pointer_cast<platform::MemoryPicture>(Control(frm_, u"imgLogo")->GetPicture());
  ASSERT_TRUE(pic);
  EXPECT_NE(pic->Handle(), 0);
  EXPECT_EQ(pic->Image().nHeight, 3);

  // A single backslash is an unknown escape: reported, kept, and the file still found.
  const auto reports = Localize("imgLogo.Picture = \"images\\logo.bmp\"\n");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind("E|CLang::sprintf2|0|Invalid format specificator '\\l'", 0), 0u) << reports[0];
  EXPECT_NE(Control(frm_, u"imgLogo")->GetPicture()->Handle(), 0);
}

// A form named like a global sub-section finds that sub-section's keys but no
// values of its own: every key is an entry, with the empty text as its value.
TEST_F(LangLocalize, AFormNamedLikeAGlobalSubSectionTakesItsKeysWithEmptyTexts) {
  const std::u16string sPath = tmp_.Write(u"EN.lng", LanguageFile("", ""));
  ASSERT_TRUE(lang_.Init(sPath, u"TwinsweepLauncher"));
  auto frm = platform::MemoryFormObject::NewForm(u"texts");
  auto lbl = frm->AddControl(u"Label", u"LID_TITLE");
  lbl->Set(u"Caption", Variant(u"designed"));
  log_.Clear();
  lang_.LocalizeForm(frm);
  EXPECT_TRUE(log_.Errors().empty());
  EXPECT_EQ(Text(lbl, u"Caption"), u"");
  frm = platform::MemoryFormObject::NewForm(u"TEXTS");
  lang_.LocalizeForm(frm);
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{
                              "E|CLang.LocalizeControls|0|'lid_title' control does not exist on 'TEXTS' form|TEXTS"});
}

TEST_F(LangLocalize, AFormWithoutSectionKeepsItsDesignAndReportsNoError) {
  Localize("cmdOK = \"x\"\n");
  auto other = platform::MemoryFormObject::NewForm(u"frmOther");
  other->Set(u"Caption", Variant(u"designed"));
  log_.Clear();
  lang_.LocalizeForm(other);
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"D|CLang.LocalizeControls|0|Locale for 'frmOther' form not exists"});
  EXPECT_EQ(Text(other, u"Caption"), u"designed");

  CLang empty;  // no language loaded
  log_.Clear();
  empty.LocalizeUserControl(u"ucThing", other, other->Controls());
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"D|CLang.LocalizeControls|0|Locale for 'ucThing' form not exists"});
}

TEST_F(LangLocalize, UserControlsAreLocalizedUnderTheGivenName) {
  auto uc = platform::MemoryFormObject::NewUserControl(u"ctlHeader");
  auto lbl = uc->AddControl(u"Label", u"lblTitle");
  const std::u16string sPath =
      tmp_.Write(u"EN.lng", LanguageFile("ucHeader", "[TwinsweepLauncher.ucHeader]\nlblTitle = \"Title\"\n"));
  ASSERT_TRUE(lang_.Init(sPath, u"TwinsweepLauncher"));
  lang_.LocalizeUserControl(u"ucHeader", uc, uc->Controls());
  EXPECT_EQ(Text(lbl, u"Caption"), u"Title");
}

TEST_F(LangLocalize, ANewerFileIsReloadedAndAnOlderOneIsNot) {
  auto write = [&](const char* sCaption, int32_t nHour) {
    const std::u16string sPath = tmp_.Write(
        u"EN.lng", LanguageFile("frmOptions", std::string("[TwinsweepLauncher.frmOptions]\ncmdOK = \"") + sCaption + "\"\n"));
    testing_support::SetFileTime(sPath, 2024, 5, 6, nHour, 0, 0);
    return sPath;
  };
  const std::u16string sPath = write("One", 10);
  ASSERT_TRUE(lang_.Init(sPath, u"TwinsweepLauncher"));
  const std::string sReload =
      "D|CLang.LocalizeControls|0|last modification time of file '" + base::ToUtf8(sPath) + "' was changed, reloading file...";
  struct Step {
    const char* sCaption;
    int32_t nHour;
    const char16_t* sExpected;
    bool bReloads;
  } steps[] = {{"Two", 11, u"Two", true}, {"Three", 9, u"Two", false}, {"Four", 12, u"Four", true}};
  for (const Step& s : steps) {
    write(s.sCaption, s.nHour);
    log_.Clear();
    auto frm = KeyForm();
    lang_.LocalizeForm(frm);
    EXPECT_EQ(Text(Control(frm, u"cmdOK"), u"Caption"), s.sExpected);
    const auto lines = log_.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), sReload), s.bReloads ? 1 : 0) << s.sCaption;
  }
}

TEST_F(LangLocalize, CaptionsSurviveADumpAndReadBack) {
  const std::u16string captions[] = {u"back\\slash", u"two\r\nlines", u"tab\there", u"say \"hi\"",
                                     u"all \\n \"\" \t\r\n end\\"};
  auto build = [&](bool bDesigned) {
    auto frm = platform::MemoryFormObject::NewForm(u"frmRound");
    frm->Set(u"Caption", Variant(bDesigned ? u"C:\\Temp \"x\"" : u""));
    int32_t i = 0;
    for (const auto& c : captions)
      frm->AddControl(u"Label", u"lbl", i++)->Set(u"Caption", Variant(bDesigned ? c : std::u16string()));
    frm->AddControl(u"CommandButton", u"cmdGo")->Set(u"ToolTipText", Variant(bDesigned ? u"tip\\t\r\n" : u""));
    return frm;
  };
  forms_testing::TestLang writer;
  writer.sMainSection = u"TwinsweepLauncher";
  writer.nDumpForms = 2;
  writer.DumpForm(build(true));
  const std::string dump = ReadAll(DumpFile(u"frmRound"));
  ASSERT_FALSE(dump.empty());

  const std::u16string sPath = tmp_.Write(u"EN.lng", LanguageFile("frmRound", "") + dump);
  ASSERT_TRUE(lang_.Init(sPath, u"TwinsweepLauncher"));
  auto fresh = build(false);
  log_.Clear();
  lang_.LocalizeForm(fresh);
  EXPECT_TRUE(log_.Errors().empty()) << log_.Lines()[0];
  EXPECT_EQ(Text(fresh, u"Caption"), u"C:\\Temp \"x\"");
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(Text(Control(fresh, u"lbl")->Element(i), u"Caption"), captions[i]) << i;
  EXPECT_EQ(Text(Control(fresh, u"cmdGo"), u"ToolTipText"), u"tip\\t\r\n");
}

TEST_F(LangLocalize, TheDumpRecordsTheDesignBeforeTheLanguageIsApplied) {
  EXPECT_EQ(Localize("cmdOK = \"Okay\"\n", "2"), std::vector<std::string>{});
  EXPECT_EQ(Text(Control(frm_, u"cmdOK"), u"Caption"), u"Okay");
  const std::string dump = ReadAll(DumpFile(u"frmOptions"));
  EXPECT_NE(dump.find("cmdOK\t\t\t\t=\"OK\"\r\n"), std::string::npos) << dump;
}

TEST_F(LangLocalize, ADumpThatCannotBeWrittenIsReportedAndTheFormStillLocalized) {
  forms_testing::RefusingFiles files(u"\\Dump", platform::kErrorPathNotFound);
  platform::ScopedOverride<platform::IFiles> over(files);
  EXPECT_EQ(Localize("cmdOK = \"Okay\"\n", "1"), std::vector<std::string>{"E|CLang.DumpControls|76|Path not found"});
  EXPECT_EQ(Text(Control(frm_, u"cmdOK"), u"Caption"), u"Okay");
}

}  // namespace
