// What the localization engine relies on of a window framework, held against the
// in-memory framework (at 96, 120, 144 and 192 pixels per inch) and the build's own one
// (real windows under Wine in the Windows tree): one form, localized from a
// language file and dumped in each mode, read back from what the windows show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "lang/forms_fixture.h"
#include "twinsweep/platform/bmp_codec.h"
#include "support/failure_of.h"
#include "support/form_builder.h"

using namespace twinsweep;

namespace {

using testing_support::FailureOf;

using base::Variant;
using forms_testing::Crlf;
using testing_support::ControlDesign;
using testing_support::FormDesign;
using testing_support::IFormBuilder;
using testing_support::kNotInArray;
using testing_support::ReadAll;

struct Backend {
  const char* pszName;
  std::unique_ptr<IFormBuilder> (*make)();
  friend void PrintTo(const Backend& b, std::ostream* os) { *os << b.pszName; }
};

// Every position is a multiple of 60 twips: whole pixels at 15 and at 12 twips per pixel.
FormDesign ContractForm() {
  FormDesign d;
  d.sName = u"frmContract";
  d.sCaption = u"Design";
  d.nLeft = 1200, d.nTop = 960, d.nWidth = 6000, d.nHeight = 4800;
  d.controls = {
      {u"CommandButton", u"cmdOK", kNotInArray, u"OK", 120, 240, 1200, 360},
      {u"Label", u"lblInfo", 0, u"Line one\r\nLine two", 120, 720, 3000, 600},
      {u"Label", u"lblInfo", 1, u"Second", 120, 1380, 3000, 300},
      {u"TextBox", u"txtName", kNotInArray, u"", 120, 1800, 1980, 300},
      {u"Line", u"linSep", kNotInArray, u"", 120, 2280, 4560, 2280},
      {u"OptionButton", u"optMode", 0, u"Mode 0", 120, 2520, 1800, 300},
      {u"OptionButton", u"optMode", 1, u"Mode 1", 120, 2880, 1800, 300},
      {u"Image", u"imgLogo", kNotInArray, u"", 3600, 240, 960, 960},
  };
  d.sUserControlClass = u"ucAddress";
  d.nUserControlWidth = 2400, d.nUserControlHeight = 1200;
  d.userControlControls = {{u"Label", u"lblStreet", kNotInArray, u"Street", 60, 60, 1200, 240}};
  return d;
}

constexpr char kLanguageFile[] = u8R"([version]
signature = "Orvex.LangLngFile"
lang      = "English"
langid    = "EN"

[TwinsweepLauncher]
globals   = "texts"
forms     = "frmContract,ucAddress"

[TwinsweepLauncher.texts]
LID_TITLE = "Twinsweep"

[TwinsweepLauncher.frmContract]
.Caption              = "Options"
.Left                 = "600"
.Width                = "6600"
.Picture              = "logo.bmp"
cmdOK                 = "Accept"
cmdOK.ToolTipText     = "Press\nhere"
cmdOK.Left            = "600"
cmdOK.dleft           = "10"
cmdOK.dtop            = "5"
cmdOK.dwidth          = "-4"
cmdOK.dheight         = "2"
lblInfo(0)            = "First\nSecond"
lblInfo(1).Left       = "240"
txtName.ToolTipText   = """name"""
optMode(1).Caption    = "Fast"
optMode(0).Top        = "3000"
linSep.Y1             = "2400"
linSep.X2             = "3600"
imgLogo.Picture       = "logo.bmp"

[TwinsweepLauncher.ucAddress]
.Width                = "3000"
lblStreet             = "Strasse"
lblStreet.ToolTipText = "Street name"
)";

class FormsContract : public forms_testing::FormsTest, public ::testing::WithParamInterface<Backend> {
 protected:
  FormsContract() : builder_(GetParam().make()), formsOverride_(builder_->Forms()) {
    frm_ = builder_->Build(ContractForm());
  }

  // A number of twips as the framework writes it.
  static std::u16string Twips(double d) { return base::CStr(Variant(d)); }
  double TwipsPerPixelX() { return builder_->Forms().TwipsPerPixelX(); }
  double TwipsPerPixelY() { return builder_->Forms().TwipsPerPixelY(); }

  std::string Dump(int32_t nMode) {
    TestableLang lang;
    lang.sMainSection = u"TwinsweepLauncher";
    lang.nDumpForms = nMode;
    lang.DumpForm(frm_);
    return ReadAll(DumpFile(u"frmContract"));
  }

  std::unique_ptr<IFormBuilder> builder_;
  platform::ScopedOverride<platform::IForms> formsOverride_;
  platform::FormObjectRef frm_;
};

std::string Logo() {
  platform::Bitmap b;
  b.nWidth = 4;
  b.nHeight = 3;
  for (uint32_t i = 0; i < 12; ++i) b.pixels.push_back(0x102030u * i);
  const std::vector<uint8_t> bytes = platform::EncodeBmp(b);
  return std::string(bytes.begin(), bytes.end());
}

TEST_P(FormsContract, LocalizingSetsWhatTheWindowsShow) {
  tmp_.Write(u"logo.bmp", Logo());
  const std::u16string sFile = tmp_.Write(u"EN.lng", Crlf(kLanguageFile));
  CLang lang;
  ASSERT_TRUE(lang.Init(sFile, u"TwinsweepLauncher"));
  lang.LocalizeForm(frm_);
  lang.LocalizeUserControl(u"ucAddress", builder_->UserControl(), builder_->UserControl()->Controls());
  EXPECT_TRUE(log_.Entries().empty()) << log_.Lines()[0];

  const double x = TwipsPerPixelX(), y = TwipsPerPixelY();
  // The run in a prefix of another resolution must see it.
  if (const char* pszDpi = std::getenv("TWINSWEEP_WINE_DPI"); pszDpi && std::string(GetParam().pszName) == "System") {
    EXPECT_EQ(x, 1440.0 / std::atoi(pszDpi));
  }
  const struct {
    const char16_t* sPath;
    const char16_t* sProperty;
    std::u16string sShown;
  } cases[] = {
      {u"", u"Caption", u"Options"},
      {u"", u"Left", u"600"},
      {u"", u"Top", u"960"},
      {u"", u"Width", u"6600"},
      {u"", u"Picture", u"1"},
      {u"cmdOK", u"Caption", u"Accept"},
      {u"cmdOK", u"ToolTipText", u"Press\r\nhere"},
      {u"cmdOK", u"Left", Twips(600 + 10 * x)},
      {u"cmdOK", u"Top", Twips(240 + 5 * y)},
      {u"cmdOK", u"Width", Twips(1200 - 4 * x)},
      {u"cmdOK", u"Height", Twips(360 + 2 * y)},
      {u"lblInfo(0)", u"Caption", u"First\r\nSecond"},
      {u"lblInfo(1)", u"Caption", u"Second"},
      {u"lblInfo(1)", u"Left", u"240"},
      {u"txtName", u"ToolTipText", u"\"name\""},
      {u"txtName", u"Text", u""},
      {u"optMode(0)", u"Caption", u"Mode 0"},
      {u"optMode(0)", u"Top", u"3000"},
      {u"optMode(1)", u"Caption", u"Fast"},
      {u"imgLogo", u"Picture", u"1"},
      {u"ucAddress", u"Width", u"3000"},
      {u"ucAddress.lblStreet", u"Caption", u"Strasse"},
      {u"ucAddress.lblStreet", u"ToolTipText", u"Street name"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(base::ToUtf8(builder_->Shown(c.sPath, c.sProperty)), base::ToUtf8(c.sShown))
        << base::ToUtf8(c.sPath) << "." << base::ToUtf8(c.sProperty);

  // The line's end points, as the framework answers them (a line shows no text or box of its own).
  auto lin = frm_->Controls()->Find(u"linSep");
  const char16_t* ends[] = {u"X1", u"Y1", u"X2", u"Y2"};
  const char* expected[] = {"120", "2400", "3600", "2280"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(base::ToUtf8(base::CStr(lin->GetProperty(ends[i]))), expected[i]) << i;
}

// A language written right to left mirrors the form: each control stands as far
// from the right edge as Left says, pictures keep their orientation; the next
// language, written left to right, turns the form back.
TEST_P(FormsContract, ARightToLeftLanguageMirrorsTheFormAndTheNextTurnsItBack) {
  tmp_.Write(u"logo.bmp", Logo());
  std::string sHebrew = kLanguageFile;
  sHebrew.replace(sHebrew.find("\"EN\""), 4, "\"HE\"");
  const std::u16string sEnglish = Twips(600 + 10 * TwipsPerPixelX());
  const struct {
    const char* sFile;
    const char16_t* sPath;
    const char16_t* sProperty;
    std::u16string sShown;
  } cases[] = {
      {"HE", u"", u"Mirrored", u"1"},        {"HE", u"cmdOK", u"Mirrored", u"1"},
      {"HE", u"cmdOK", u"Left", sEnglish},   {"HE", u"cmdOK", u"RightAsDrawn", sEnglish},
      {"HE", u"lblInfo(1)", u"RightAsDrawn", u"240"}, {"HE", u"imgLogo", u"RightAsDrawn", u"3600"},
      {"HE", u"imgLogo", u"Mirrored", u"0"}, {"HE", u"imgLogo", u"Picture", u"1"},
      {"EN", u"", u"Mirrored", u"0"},        {"EN", u"cmdOK", u"Mirrored", u"0"},
      {"EN", u"cmdOK", u"LeftAsDrawn", sEnglish}, {"EN", u"imgLogo", u"LeftAsDrawn", u"3600"},
  };
  for (const char* sFile : {"HE", "EN"}) {
    CLang lang;
    const std::string& sText = std::string(sFile) == "HE" ? sHebrew : std::string(kLanguageFile);
    ASSERT_TRUE(lang.Init(tmp_.Write(base::FromAscii(sFile) + u".lng", Crlf(sText)), u"TwinsweepLauncher"));
    lang.LocalizeForm(frm_);
    for (const auto& c : cases) {
      if (std::string(c.sFile) != sFile) continue;
      EXPECT_EQ(base::ToUtf8(builder_->Shown(c.sPath, c.sProperty)), base::ToUtf8(c.sShown))
          << sFile << ": " << base::ToUtf8(c.sPath) << "." << base::ToUtf8(c.sProperty);
    }
  }
}

TEST_P(FormsContract, WhatAnObjectLacksFailsWithTheFrameworksNumber) {
  auto controls = frm_->Controls();
  auto find = [&](const char16_t* s) { return controls->Find(s); };
  const struct {
    const char* sCase;
    std::function<void()> f;
    int32_t nFailure;
  } cases[] = {
      {"text box Caption", [&] { find(u"txtName")->GetProperty(u"Caption"); }, 438},
      {"line Caption", [&] { find(u"linSep")->SetProperty(u"Caption", Variant(u"x")); }, 438},
      {"line Left", [&] { find(u"linSep")->GetProperty(u"Left"); }, 438},
      {"button X1", [&] { find(u"cmdOK")->GetProperty(u"X1"); }, 438},
      {"label Picture", [&] { find(u"lblInfo")->Element(0)->GetPicture(); }, 438},
      {"form ToolTipText", [&] { frm_->GetProperty(u"ToolTipText"); }, 438},
      {"button Index", [&] { find(u"cmdOK")->GetProperty(u"Index"); }, 343},
      {"element Index", [&] { find(u"optMode")->Element(1)->GetProperty(u"Index"); }, 0},
      {"missing element", [&] { find(u"optMode")->Element(7); }, 340},
      {"element of a plain control", [&] { find(u"cmdOK")->Element(0); }, 343},
      {"missing control", [&] { find(u"ghost"); }, 730},
      {"name without regard to case", [&] { find(u"CMDOK")->SetProperty(u"caption", Variant(u"x")); }, 0},
      {"number from text", [&] { find(u"cmdOK")->SetProperty(u"Left", Variant(u"abc")); }, 13},
      {"negative width", [&] { find(u"cmdOK")->SetProperty(u"Width", Variant(-15)); }, 380},
      {"left of the screen", [&] { frm_->SetProperty(u"Left", Variant(-600)); }, 0},
      {"missing picture file", [&] { platform::Forms().LoadPicture(tmp_.File(u"none.bmp")); }, 53},
      {"picture in a missing folder", [&] { platform::Forms().LoadPicture(tmp_.File(u"no\\none.bmp")); }, 76},
      {"file that is no picture", [&] { platform::Forms().LoadPicture(tmp_.Write(u"x.bmp", "not a bitmap")); }, 481},
  };
  for (const auto& c : cases) EXPECT_EQ(FailureOf(c.f), c.nFailure) << c.sCase;
  EXPECT_EQ(controls->Count(), 8);
  EXPECT_EQ(base::ToUtf8(controls->Item(1)->Name() + controls->Item(1)->TypeName()), "lblInfoLabel");
}

TEST_P(FormsContract, APictureSavedIsTheImageLoaded) {
  const std::string sLogo = Logo();
  auto oPicture = platform::Forms().LoadPicture(tmp_.Write(u"logo.bmp", sLogo));
  frm_->Controls()->Find(u"imgLogo")->SetPicture(oPicture);
  platform::Forms().SavePicture(frm_->Controls()->Find(u"imgLogo")->GetPicture(), tmp_.File(u"saved.bmp"));
  EXPECT_EQ(ReadAll(tmp_.File(u"saved.bmp")), sLogo);
}

TEST_P(FormsContract, TheDumpOfEachModeIsTheSame) {
  frm_->Controls()->Find(u"txtName")->SetProperty(u"ToolTipText", Variant(u"\"name\""));
  const std::string sMode2 = u8R"([TwinsweepLauncher.frmContract]
; (frmContract)
.Caption⇥⇥⇥="Design"
; cmdOK(CommandButton)
cmdOK⇥⇥⇥⇥="OK"
; lblInfo(0)(Label)
lblInfo(0)⇥⇥⇥="Line one\nLine two"
; lblInfo(1)(Label)
lblInfo(1)⇥⇥⇥="Second"
; txtName(TextBox)
txtName⇥⇥⇥⇥=""
txtName.ToolTipText⇥⇥="""name"""
; optMode(0)(OptionButton)
optMode(0)⇥⇥⇥="Mode 0"
; optMode(1)(OptionButton)
optMode(1)⇥⇥⇥="Mode 1"
; imgLogo(Image)
imgLogo⇥⇥⇥⇥=""
)";
  EXPECT_EQ(Dump(2), Crlf(sMode2));
  // Mode 3 is mode 2 without its empty texts, and without the heading of a control left with none.
  std::string sMode3 = sMode2;
  for (const std::string sEmpty : {u8"txtName⇥⇥⇥⇥=\"\"\n", u8"; imgLogo(Image)\nimgLogo⇥⇥⇥⇥=\"\"\n"})
    sMode3.erase(sMode3.find(sEmpty), sEmpty.size());
  EXPECT_EQ(Dump(3), Crlf(sMode3));
  EXPECT_EQ(Dump(1), Crlf(u8R"([TwinsweepLauncher.frmContract]

.Caption⇥⇥⇥="Design"
.Left⇥⇥⇥⇥="1200"
.Top⇥⇥⇥⇥="960"
.Width⇥⇥⇥⇥="6000"
.Height⇥⇥⇥⇥="4800"

cmdOK⇥⇥⇥⇥="OK"
cmdOK.Left⇥⇥⇥="120"
cmdOK.Top⇥⇥⇥="240"
cmdOK.Width⇥⇥⇥="1200"
cmdOK.Height⇥⇥⇥="360"

lblInfo(0)⇥⇥⇥="Line one\nLine two"
lblInfo(0).Left⇥⇥⇥="120"
lblInfo(0).Top⇥⇥⇥="720"
lblInfo(0).Width⇥⇥="3000"
lblInfo(0).Height⇥⇥="600"

lblInfo(1)⇥⇥⇥="Second"
lblInfo(1).Left⇥⇥⇥="120"
lblInfo(1).Top⇥⇥⇥="1380"
lblInfo(1).Width⇥⇥="3000"
lblInfo(1).Height⇥⇥="300"

txtName⇥⇥⇥⇥=""
txtName.Left⇥⇥⇥="120"
txtName.Top⇥⇥⇥="1800"
txtName.Width⇥⇥⇥="1980"
txtName.Height⇥⇥⇥="300"
txtName.ToolTipText⇥⇥="""name"""

linSep.X1⇥⇥⇥="120"
linSep.Y1⇥⇥⇥="2280"
linSep.X2⇥⇥⇥="4560"
linSep.Y2⇥⇥⇥="2280"

optMode(0)⇥⇥⇥="Mode 0"
optMode(0).Left⇥⇥⇥="120"
optMode(0).Top⇥⇥⇥="2520"
optMode(0).Width⇥⇥="1800"
optMode(0).Height⇥⇥="300"

optMode(1)⇥⇥⇥="Mode 1"
optMode(1).Left⇥⇥⇥="120"
optMode(1).Top⇥⇥⇥="2880"
optMode(1).Width⇥⇥="1800"
optMode(1).Height⇥⇥="300"

imgLogo⇥⇥⇥⇥=""
imgLogo.Left⇥⇥⇥="3600"
imgLogo.Top⇥⇥⇥="240"
imgLogo.Width⇥⇥⇥="960"
imgLogo.Height⇥⇥⇥="960"
)"));
  EXPECT_TRUE(log_.Entries().empty()) << log_.Lines()[0];
}

// A form whose section's texts fit or do not, at any resolution: each control's
// room grows with the screen as its font does.
constexpr char kFitFile[] = u8R"([version]
signature = "Orvex.LangLngFile"
lang      = "English"
langid    = "EN"

[Fit]
globals   = "texts"
forms     = "frmContract"
checkfit  = "1"

[Fit.texts]
LID_TITLE = "Fit"

[Fit.frmContract]
cmdOK       = "Go"
lblInfo(0)  = "Two\nlines"
lblInfo(1)  = "A text far too long for the little room that this label has, at any scale of the screen, in any font: it takes three lines or more where the label shows one"
optMode(0)  = "Go"
optMode(1)  = "Go"
optMode(1).Width = "300"
)";

TEST_P(FormsContract, TheFitCheckReportsWhatDoesNotFit) {
  const std::u16string sFile = tmp_.Write(u"Fit.lng", Crlf(kFitFile));
  CLang lang;
  ASSERT_TRUE(lang.Init(sFile, u"Fit"));
  lang.LocalizeForm(frm_);
  // Fits: the button, the two-line label, the option box with room for its glyph.
  // Does not: the long label (too many lines), the option box whose glyph takes its room.
  const std::regex report("text of control '(.+)' on form 'frmContract' needs (\\d+) px, has (\\d+) px");
  std::vector<std::string> reported;
  for (const auto& e : log_.Errors()) {
    std::smatch m;
    const std::string sText = base::ToUtf8(e.sText);
    ASSERT_TRUE(std::regex_match(sText, m, report)) << sText;
    EXPECT_GT(std::stoi(m[2]), std::stoi(m[3])) << sText;
    reported.push_back(m[1]);
  }
  EXPECT_EQ(reported, (std::vector<std::string>{"lblinfo(1)", "optmode(1)"}));

  // Twips to the screen's pixels: to the nearest, a half away from zero, at each scale.
  const struct {
    int nDpi;
    double dTwips;
    int32_t nPixels;
  } rounding[] = {
      {96, 1207, 80},   {96, 1207.5, 81}, {96, 1208, 81},  {120, 965, 80},  {120, 966, 81},  {120, 971, 81},
      {144, 804, 80},   {144, 805, 81},   {144, 796, 80},  {192, 603, 80},  {192, 603.75, 81}, {192, 604, 81},
  };
  auto label = frm_->Controls()->Find(u"lblInfo")->Element(1);
  int nRows = 0;
  for (const auto& r : rounding) {
    if (std::lround(1440.0 / TwipsPerPixelX()) != r.nDpi) continue;
    label->SetProperty(u"Width", Variant(r.dTwips));
    EXPECT_EQ(label->MeasureCaption().nRoomWidth, r.nPixels) << r.nDpi << " dpi, " << r.dTwips << " twips";
    ++nRows;
  }
  EXPECT_GT(nRows, 0) << "no rounding rows for " << 1440.0 / TwipsPerPixelX() << " dpi";
}

std::vector<Backend> Backends() {
  return {
      {"Memory", [] { return testing_support::MemoryFormBuilder(15.0f); }},
      {"MemoryAt120Dpi", [] { return testing_support::MemoryFormBuilder(12.0f); }},
      {"MemoryAt144Dpi", [] { return testing_support::MemoryFormBuilder(10.0f); }},
      {"MemoryAt192Dpi", [] { return testing_support::MemoryFormBuilder(7.5f); }},
      // In the Windows tree real windows, at the resolution of the Wine prefix.
      {"System", [] { return testing_support::SystemFormBuilder(); }},
  };
}

INSTANTIATE_TEST_SUITE_P(Backends, FormsContract, ::testing::ValuesIn(Backends()),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
