// The in-memory window framework: the property sets of each type of object,
// names without regard to case, control arrays, and pictures in .bmp files.
#include <gtest/gtest.h>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "support/failure_of.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

using platform::MemoryFormObject;
using platform::MemoryPicture;
using testing_support::FailureOf;

TEST(MemoryForms, EachTypeCarriesItsOwnProperties) {
  auto frm = MemoryFormObject::NewForm(u"frmTest");
  struct Case {
    const char16_t* sType;
    const char16_t* sProperty;
    bool bHas;
  } cases[] = {
      {u"CommandButton", u"Caption", true}, {u"CommandButton", u"ToolTipText", true},
      {u"CommandButton", u"X1", false},     {u"Label", u"Caption", true},
      {u"TextBox", u"Caption", false},      {u"TextBox", u"ToolTipText", true},
      {u"Line", u"X1", true},               {u"Line", u"Y2", true},
      {u"Line", u"Caption", false},         {u"Line", u"Left", false},
      {u"Line", u"ToolTipText", false},     {u"PictureBox", u"Caption", false},
      {u"Image", u"Width", true},           {u"Label", u"Picture", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    auto o = frm->AddControl(c.sType, u"c" + base::LongToText(n++));
    EXPECT_EQ(FailureOf([&] { o->GetProperty(c.sProperty); }), c.bHas ? 0 : 438) << base::ToUtf8(c.sType);
    EXPECT_EQ(FailureOf([&] { o->SetProperty(c.sProperty, base::Variant(u"1")); }), c.bHas ? 0 : 438);
  }
  EXPECT_EQ(FailureOf([&] { frm->GetProperty(u"ToolTipText"); }), 438);
  EXPECT_EQ(frm->TypeName(), u"frmTest");
}

TEST(MemoryForms, PropertiesConvertOrLeaveTheValueAlone) {
  auto frm = MemoryFormObject::NewForm(u"frmTest");
  auto cmd = frm->AddControl(u"CommandButton", u"cmdOK");
  cmd->Set(u"left", base::Variant(120)).Set(u"CAPTION", base::Variant(u"OK"));
  EXPECT_EQ(base::CStr(cmd->GetProperty(u"Left")), u"120");
  EXPECT_EQ(cmd->GetProperty(u"Caption").AsText(), u"OK");
  EXPECT_EQ(FailureOf([&] { cmd->SetProperty(u"Left", base::Variant(u"abc")); }), 13);
  EXPECT_EQ(base::CStr(cmd->GetProperty(u"Left")), u"120");
  cmd->SetProperty(u"Caption", base::Variant(7));
  EXPECT_EQ(cmd->GetProperty(u"Caption").AsText(), u"7");
}

TEST(MemoryForms, ControlsAreFoundWithoutRegardToCaseAndArraysByIndex) {
  auto frm = MemoryFormObject::NewForm(u"frmTest");
  auto cmd = frm->AddControl(u"CommandButton", u"cmdOK");
  auto opt1 = frm->AddControl(u"OptionButton", u"optMode", 1);
  auto opt3 = frm->AddControl(u"OptionButton", u"optMode", 3);
  auto controls = frm->Controls();

  ASSERT_EQ(controls->Count(), 3);
  EXPECT_EQ(controls->Item(0), cmd);
  EXPECT_EQ(controls->Item(2), opt3);
  EXPECT_EQ(FailureOf([&] { controls->Item(3); }), 9);

  EXPECT_EQ(controls->Find(u"CMDOK"), cmd);
  auto arr = controls->Find(u"optmode");
  EXPECT_EQ(arr->Element(3), opt3);
  EXPECT_EQ(arr->Element(1), opt1);
  EXPECT_EQ(FailureOf([&] { arr->SetProperty(u"Caption", base::Variant(u"x")); }), 438);
  try {
    arr->Element(9);
    FAIL();
  } catch (const base::Failure& e) {
    EXPECT_EQ(e.Number(), 340);
    EXPECT_EQ(e.Description(), u"Control array element '9' doesn't exist");
  }
  EXPECT_EQ(FailureOf([&] { controls->Find(u"ghost"); }), 730);
  EXPECT_EQ(FailureOf([&] { cmd->Element(0); }), 343);
  EXPECT_EQ(FailureOf([&] { cmd->GetProperty(u"Index"); }), 343);
  EXPECT_EQ(opt3->GetProperty(u"Index").AsLong(), 3);
  EXPECT_EQ(FailureOf([&] { cmd->Controls(); }), 438);

  // One name is one control or one array, and an index is taken once.
  EXPECT_EQ(FailureOf([&] { frm->AddControl(u"Label", u"CMDOK"); }), 5);
  EXPECT_EQ(FailureOf([&] { frm->AddControl(u"OptionButton", u"optMode", 3); }), 5);
  EXPECT_EQ(FailureOf([&] { frm->AddControl(u"Spinner", u"spn"); }), 5);
}

TEST(MemoryForms, PicturesGoThroughBmpFiles) {
  testing_support::TempFolder tmp;
  platform::MemoryForms forms;
  for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{5, 4}}) {
    platform::Bitmap b;
    b.nWidth = w;
    b.nHeight = h;
    for (int i = 0; i < w * h; ++i) b.pixels.push_back(static_cast<uint32_t>(0x102030 * (i + 1)) & 0xFFFFFF);
    auto pic = std::make_shared<MemoryPicture>(b);
    EXPECT_NE(pic->Handle(), 0);
    const std::u16string sPath = tmp.File(u"p.bmp");
    forms.SavePicture(pic, sPath);
    // Rows are padded to four bytes.
    EXPECT_EQ(testing_support::ReadAll(sPath).size(), 54u + static_cast<size_t>((w * 3 + 3) / 4 * 4 * h));
    auto back = std::dynamic_pointer_cast<MemoryPicture>(forms.LoadPicture(sPath));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Image().nWidth, w);
    EXPECT_EQ(back->Image().pixels, b.pixels);
    EXPECT_NE(back->Handle(), pic->Handle());
  }
  auto frm = MemoryFormObject::NewForm(u"frmTest");
  EXPECT_EQ(frm->GetPicture()->Handle(), 0);
  EXPECT_EQ(FailureOf([&] { forms.SavePicture(frm->GetPicture(), tmp.File(u"e.bmp")); }), 380);
  EXPECT_EQ(FailureOf([&] { forms.LoadPicture(tmp.File(u"missing.bmp")); }), 53);
  EXPECT_EQ(FailureOf([&] { forms.SavePicture(MemoryPicture::Solid(1, 1, 0), tmp.File(u"no\\such.bmp")); }), 76);
  EXPECT_EQ(FailureOf([&] { forms.LoadPicture(tmp.Write(u"t.txt", "BM not a bitmap")); }), 481);
}

// A hand-made file header and info header for a bitmap of the given shape.
std::string BmpHeaders(int32_t nWidth, int32_t nHeight, uint16_t nBits, uint32_t nColors, uint32_t nOffset) {
  std::string s = "BM";
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(0, 4), put(0, 4), put(nOffset, 4);
  put(40, 4), put(static_cast<uint32_t>(nWidth), 4), put(static_cast<uint32_t>(nHeight), 4);
  put(1, 2), put(nBits, 2), put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(nColors, 4), put(0, 4);
  return s;
}

TEST(MemoryForms, BmpReaderTakesPalettesTopDownRowsAndRefusesShortFiles) {
  // 8 bits, 2-colour palette, 2x2, bottom-up: the first stored row is the bottom one.
  std::string pal = BmpHeaders(2, 2, 8, 2, 54 + 8);
  pal += std::string("\x00\x00\xFF\x00" "\xFF\x00\x00\x00", 8);  // red, blue
  pal += std::string("\x00\x01\x00\x00" "\x01\x01\x00\x00", 8);
  auto b = platform::DecodeBmp(reinterpret_cast<const uint8_t*>(pal.data()), pal.size());
  ASSERT_TRUE(b);
  EXPECT_EQ(b->pixels, (std::vector<uint32_t>{0x0000FF, 0x0000FF, 0xFF0000, 0x0000FF}));

  // 32 bits, top-down (negative height).
  std::string top = BmpHeaders(1, -2, 32, 0, 54);
  top += std::string("\x01\x02\x03\x00" "\x04\x05\x06\x00", 8);
  b = platform::DecodeBmp(reinterpret_cast<const uint8_t*>(top.data()), top.size());
  ASSERT_TRUE(b);
  EXPECT_EQ(b->pixels, (std::vector<uint32_t>{0x030201, 0x060504}));

  // Claims beyond the bytes present, and sizes out of range, are refused.
  for (const std::string& bad : {top.substr(0, top.size() - 1), BmpHeaders(100000, 100000, 24, 0, 54),
                                 BmpHeaders(0, 1, 24, 0, 54), BmpHeaders(1, 1, 16, 0, 54), pal.substr(0, 60)}) {
    EXPECT_FALSE(platform::DecodeBmp(reinterpret_cast<const uint8_t*>(bad.data()), bad.size()));
  }
}

TEST(MemoryForms, TwipsPerPixelDefaultsTo15) {
  platform::MemoryForms forms;
  EXPECT_EQ(forms.TwipsPerPixelX(), 15.0f);
  forms.SetTwipsPerPixel(12, 10);
  EXPECT_EQ(forms.TwipsPerPixelX(), 12.0f);
  EXPECT_EQ(forms.TwipsPerPixelY(), 10.0f);
}

}  // namespace
