// Any language text applied to forms built in memory: a form with controls of
// every type and control arrays, and a user control. The fixed head lists the
// form's and the user control's sections; the fuzzer's text follows it and may
// hold them (and anything else). Loading, dumping (when the text's dump mode
// asks for it) and localizing must end with no failure pending, no file handle
// open, and every control still in place.
#include <cstdint>
#include <string>

#include "twinsweep/base/failure.h"
#include "fuzz_forms.h"
#include "memory_files.h"
#include "twinsweep/platform/desktop.h"
#include "support/fake_desktop.h"
#include "testable_lang.h"

using namespace twinsweep;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzz_support;
  static MemoryFiles files;
  files.Clear();
  files.MakeDirectory(kAppFolder);
  files.Put(std::u16string(kAppFolder) + u"\\logo.bmp",
            std::string("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0"
                        "\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0\xff\0\0\0",
                        58));
  testing_support::FakeApp app;
  app.sAppFolder = kAppFolder;
  platform::ScopedOverride<platform::IFiles> useFiles(files);
  platform::ScopedOverride<platform::IApp> useApp(app);

  FuzzInput in(data, size);
  const int nDumpForms = in.Byte() % 5;
  auto frm = platform::MemoryFormObject::NewForm(u"frmFuzz");
  const auto controls = AddControls(*frm, ReadControls(in, 8), true);
  auto uc = platform::MemoryFormObject::NewUserControl(u"ucFuzz");
  const auto ucControls = AddControls(*uc, ReadControls(in, 8), true);
  files.Put(kLanguageFile, LanguageFileHead("frmFuzz,ucFuzz", nDumpForms) + in.Rest());

  {
    TestableLang lang;
    lang.Init(kLanguageFile, u"Main");
    lang.LocalizeForm(frm);
    lang.LocalizeUserControl(u"ucFuzz", uc, uc->Controls());
    lang.LocalizeForm(nullptr);
  }
  if (base::HasPending() || files.OpenHandles() != 0) __builtin_trap();
  if (frm->Controls()->Count() != static_cast<int32_t>(controls.size()) ||
      uc->Controls()->Count() != static_cast<int32_t>(ucControls.size()))
    __builtin_trap();
  return 0;
}
