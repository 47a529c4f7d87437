#pragma once
// What the form dump and form localization tests share: a CLang whose inner
// members can be reached, the frmOptions form built in memory, and a test
// fixture whose application folder is a fresh temporary folder.
#include <gtest/gtest.h>

#include <string>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "support/fake_desktop.h"
#include "support/log_capture.h"
#include "support/pass_through_files.h"
#include "support/temp_folder.h"
#include "testable_lang.h"

using namespace twinsweep;

namespace forms_testing {

using TestLang = ::TestableLang;

// The form of the dump example: caption Options, a button, a label array
// element with two lines, a text box with a quoted tool tip, a line.
inline std::shared_ptr<platform::MemoryFormObject> OptionsForm() {
  using base::Variant;
  auto frm = platform::MemoryFormObject::NewForm(u"frmOptions");
  frm->Set(u"Caption", Variant(u"Options")).Set(u"Width", Variant(4800)).Set(u"Height", Variant(3600));
  // A control's place in twips, set after what the row sets first.
  const auto place = [](auto& ctl, int32_t nLeft, int32_t nTop, int32_t nWidth, int32_t nHeight) {
    ctl.Set(u"Left", Variant(nLeft)).Set(u"Top", Variant(nTop)).Set(u"Width", Variant(nWidth)).Set(u"Height", Variant(nHeight));
  };
  place(frm->AddControl(u"CommandButton", u"cmdOK")->Set(u"Caption", Variant(u"OK")), 120, 240, 1215, 375);
  place(frm->AddControl(u"Label", u"lblInfo", 0)->Set(u"Caption", Variant(u"Line one\r\nLine two")), 120, 720, 3000, 615);
  place(frm->AddControl(u"TextBox", u"txtName")->Set(u"ToolTipText", Variant(u"\"name\"")), 120, 1440, 2000, 315);
  frm->AddControl(u"Line", u"linSep")->Set(u"X1", Variant(120)).Set(u"Y1", Variant(1900)).Set(u"X2", Variant(4560)).Set(u"Y2", Variant(1900));
  return frm;
}

// File bytes written readably: "⇥" stands for a tab, each line break for CR LF.
inline std::string Crlf(const std::string& sUtf8) {
  std::string out;
  for (size_t i = 0; i < sUtf8.size(); ++i) {
    if (sUtf8.compare(i, 3, "\xE2\x87\xA5") == 0) {
      out += '\t';
      i += 2;
    } else if (sUtf8[i] == '\n') {
      out += "\r\n";
    } else {
      out += sUtf8[i];
    }
  }
  return out;
}

// The real files, except that folders and files for writing whose path contains
// sRefused are refused: folders with ERROR_ACCESS_DENIED, as on a read-only
// folder, files with nOpenStatus.
class RefusingFiles : public testing_support::PassThroughFiles {
 public:
  explicit RefusingFiles(std::u16string sRefused, int32_t nOpenStatus = platform::kErrorAccessDenied)
      : sRefused_(std::move(sRefused)), nOpenStatus_(nOpenStatus) {}
  int32_t OpenForWrite(std::u16string_view s, platform::FileHandle* p) override {
    return Refused(s) ? nOpenStatus_ : real().OpenForWrite(s, p);
  }
  int32_t Close(platform::FileHandle h) override {
    ++nCloses;
    return real().Close(h);
  }
  int32_t MakeDirectory(std::u16string_view s) override {
    return Refused(s) ? platform::kErrorAccessDenied : real().MakeDirectory(s);
  }
  int32_t RemoveEmptyDirectory(std::u16string_view s) override {
    removed.emplace_back(s);
    return real().RemoveEmptyDirectory(s);
  }

  int nCloses = 0;
  std::vector<std::u16string> removed;

 private:
  bool Refused(std::u16string_view s) const { return s.find(sRefused_) != std::u16string_view::npos; }
  std::u16string sRefused_;
  int32_t nOpenStatus_;
};

// A fixture whose application folder is a fresh temporary folder, and whose
// framework services (pictures, the screen) are the in-memory ones that go with
// forms built in memory, in either tree.
class FormsTest : public ::testing::Test {
 protected:
  FormsTest() : appOverride_(app_), formsOverride_(forms_) { app_.sAppFolder = tmp_.Path(); }

  std::u16string DumpFile(std::u16string_view sName) const {
    return tmp_.Path() + u"\\Dump\\" + std::u16string(sName) + u".txt";
  }

  testing_support::TempFolder tmp_;
  testing_support::FakeApp app_;
  platform::ScopedOverride<platform::IApp> appOverride_;
  platform::MemoryForms forms_;
  platform::ScopedOverride<platform::IForms> formsOverride_;
  testing_support::LogCapture log_;
};

}  // namespace forms_testing
