// Form dumps and form localization under file-system faults, each call failing
// in turn. A dump is whole, or reported and gone; a picture is whole or not
// there, and no empty picture folder stays. A localization with a reload gives
// the new language, the one loaded before, or a reported failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "faults/fault_loop.h"
#include "lang/forms_fixture.h"
#include "twinsweep/platform/scoped_handle.h"
#include "support/fault_injecting_files.h"
#include "support/lang_file.h"

using namespace twinsweep;

namespace {

using base::Variant;
using fault_testing::ErrorReported;
using fault_testing::ForEachFailingCall;
using fault_testing::kFaultModes;
platform::IFiles& RealFiles() { return platform::Default<platform::IFiles>(); }

// The file's bytes, read past the double so that checking counts no call.
std::string ReadAll(const std::u16string& sPath) {
  platform::ScopedOverride<platform::IFiles> past(RealFiles());
  return testing_support::ReadAll(sPath);
}

// Owners that close through the real files, not through the faulty double in place.
struct RealFileTraits : platform::FileTraits {
  static void Close(Handle h) { (void)RealFiles().Close(h); }
};
struct RealFindTraits : platform::FindTraits {
  static void Close(Handle h) { (void)RealFiles().FindClose(h); }
};

bool Exists(const std::u16string& sPath) {
  platform::ScopedHandle<RealFileTraits> hFile;
  return RealFiles().OpenForQuery(sPath, hFile.Receive()) == platform::kErrorSuccess;
}

bool FolderExists(const std::u16string& sPath) {
  platform::ScopedHandle<RealFindTraits> hFind;
  platform::FindData d;
  return RealFiles().FindFirst(sPath + u"\\*", hFind.Receive(), &d) == platform::kErrorSuccess;
}

// The options form with a picture on the form and one on a control.
std::shared_ptr<platform::MemoryFormObject> FormWithPictures() {
  auto frm = forms_testing::OptionsForm();
  frm->SetPicture(platform::MemoryPicture::Solid(2, 2, 0x123456));
  frm->AddControl(u"PictureBox", u"picLogo")->SetPicture(platform::MemoryPicture::Solid(3, 1, 0xFF0000));
  return frm;
}

class FormFaults : public forms_testing::FormsTest {
 protected:
  FormFaults() : use_(files_) {}

  std::u16string Folder() const { return tmp_.Path() + u"\\Dump\\frmOptions"; }
  std::u16string FormPicture() const { return Folder() + u"\\.bmp"; }
  std::u16string ControlPicture() const { return Folder() + u"\\picLogo.bmp"; }

  // Removes what a dump leaves, past the double.
  void RemoveDump() {
    RealFiles().RemoveFile(FormPicture());
    RealFiles().RemoveFile(ControlPicture());
    RealFiles().RemoveEmptyDirectory(Folder());
    RealFiles().RemoveFile(DumpFile(u"frmOptions"));
  }

  testing_support::FaultInjectingFiles files_;
  platform::ScopedOverride<platform::IFiles> use_;
};

TEST_F(FormFaults, EveryDumpModeWritesTheWholeDumpOrReportsAndLeavesNothingHalfWritten) {
  for (int32_t nMode : {1, 2, 3}) {
    SCOPED_TRACE(testing::Message() << "mode " << nMode);
    forms_testing::TestLang lang;
    lang.sMainSection = u"Main";
    lang.nDumpForms = nMode;
    RemoveDump();
    lang.DumpForm(FormWithPictures());
    const std::string whole = ReadAll(DumpFile(u"frmOptions"));
    const std::string wholeFormPicture = ReadAll(FormPicture()), wholeControlPicture = ReadAll(ControlPicture());
    ASSERT_FALSE(whole.empty());
    for (const auto& mode : kFaultModes) {
      ForEachFailingCall(files_, mode, [&] {
        RemoveDump();
        log_.Clear();
        lang.DumpForm(FormWithPictures());
        const bool bDump = Exists(DumpFile(u"frmOptions"));
        const std::string dump = ReadAll(DumpFile(u"frmOptions"));
        if (!bDump || dump != whole) {
          EXPECT_TRUE(ErrorReported(log_)) << "a dump other than the whole one was not reported";
        }
        // A dump that stays ends with its last line (only a failed picture's line
        // may be missing), unless the report says that it could not be removed.
        bool bNotRemoved = false;
        for (const std::string& line : log_.Lines()) bNotRemoved |= line.find("nor removed") != std::string::npos;
        if (bDump && dump != whole && !bNotRemoved) {
          EXPECT_TRUE(dump.size() > 2 && dump.compare(dump.size() - 2, 2, "\r\n") == 0);
          EXPECT_NE(dump.find("ToolTipText"), std::string::npos) << "a dump that stayed lacks its end";
        }
        // Once the file system fails for good, even the clean-up fails: then the
        // report is all there is. A single failure leaves no picture cut short
        // and no empty picture folder.
        if (mode.bPersistent) return;
        for (const auto& [sPath, sWhole] : {std::make_pair(FormPicture(), wholeFormPicture),
                                            std::make_pair(ControlPicture(), wholeControlPicture)})
          if (Exists(sPath)) {
            EXPECT_EQ(ReadAll(sPath), sWhole) << "a picture cut short";
          }
        if (FolderExists(Folder())) {
          EXPECT_TRUE(Exists(FormPicture()) || Exists(ControlPicture())) << "an empty picture folder stayed";
        }
      });
    }
  }
  RemoveDump();
}

// A form section in a language file, in the language sLang.
std::string FormFile(const std::string& sLang) {
  return testing_support::LangFile(
      sLang,
      {"[Main]", "forms = \"frmOptions\"", "[Main.frmOptions]", ".Caption = \"" + sLang + " options\"",
       "cmdOK = \"" + sLang + " OK\"", "lblInfo(0).Caption = \"" + sLang + " info\"",
       "txtName.ToolTipText = \"" + sLang + " tip\"", "cmdOK.Width = \"1500\""},
      testing_support::kLangSignature, {sLang});
}

std::vector<std::u16string> Texts(const platform::FormObjectRef& frm) {
  std::vector<std::u16string> out{base::CStr(frm->GetProperty(u"Caption"))};
  for (const char16_t* name : {u"cmdOK", u"txtName"}) {
    auto c = frm->Controls()->Find(name);
    out.push_back(base::CStr(c->GetProperty(name[0] == u'c' ? u"Caption" : u"ToolTipText")));
    out.push_back(base::CStr(c->GetProperty(u"Width")));
  }
  out.push_back(base::CStr(frm->Controls()->Find(u"lblInfo")->Element(0)->GetProperty(u"Caption")));
  return out;
}

TEST_F(FormFaults, LocalizingWithAReloadGivesTheNewLanguageTheOldOneOrAReportedFailure) {
  const std::u16string sFile = tmp_.Write(u"L.lng", FormFile("Old"));
  testing_support::SetFileTime(sFile, 2024, 1, 1, 10, 0, 0);
  auto localized = [&](const char* sLang) {
    forms_testing::TestLang lang;
    lang.Init(sFile, u"Main");
    tmp_.Write(u"L.lng", FormFile(sLang));
    testing_support::SetFileTime(sFile, 2024, 1, 1, 10, 0, 0);
    auto frm = forms_testing::OptionsForm();
    lang.LocalizeForm(frm);
    return Texts(frm);
  };
  const std::vector<std::u16string> designed = Texts(forms_testing::OptionsForm());
  const std::vector<std::u16string> old = localized("Old");
  auto reloading = [&](forms_testing::TestLang& lang) {
    tmp_.Write(u"L.lng", FormFile("Old"));
    testing_support::SetFileTime(sFile, 2024, 1, 1, 10, 0, 0);
    lang.Init(sFile, u"Main");
    tmp_.Write(u"L.lng", FormFile("New"));
    testing_support::SetFileTime(sFile, 2024, 1, 1, 11, 0, 0);
  };
  forms_testing::TestLang fresh;
  reloading(fresh);
  auto whole = forms_testing::OptionsForm();
  fresh.LocalizeForm(whole);
  const std::vector<std::u16string> renewed = Texts(whole);
  ASSERT_NE(renewed, old);
  ASSERT_NE(old, designed);
  for (const auto& mode : kFaultModes) {
    ForEachFailingCall(files_, mode, [&] {
      forms_testing::TestLang lang;
      {
        platform::ScopedOverride<platform::IFiles> past(RealFiles());
        reloading(lang);
      }
      log_.Clear();
      auto frm = forms_testing::OptionsForm();
      lang.LocalizeForm(frm);
      const std::vector<std::u16string> got = Texts(frm);
      if (got != renewed && got != old) {
        EXPECT_TRUE(ErrorReported(log_)) << "a localization with neither language was not reported";
        EXPECT_EQ(got, designed) << "a form localized in part";
      }
    });
  }
}

}  // namespace
