// Dump → load → localize: a form built from the fuzzer's bytes is dumped (modes
// 1 to 3), the dump is loaded as its language's form section and applied to a
// form of the same controls without texts. Every caption and tool tip that the
// ANSI code page can hold and that fits a line comes back as it was; in mode 1
// so does the geometry.
#include <cstdint>
#include <string>

#include "twinsweep/base/failure.h"
#include "fuzz_forms.h"
#include "twinsweep/lang/lang_file.h"
#include "memory_files.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/text_codec.h"
#include "support/fake_desktop.h"
#include "testable_lang.h"

using namespace twinsweep;

namespace {

// A text the dump can carry: the code page holds it and its line stays short.
bool Carried(const std::u16string& s) {
  const std::string bytes = platform::TextCodec().WideToMultiByte(platform::kCodePageAnsi, s);
  if (platform::DecodeBytes(platform::kCodePageAnsi, reinterpret_cast<const uint8_t*>(bytes.data()),
                            bytes.size()) != s)
    return false;
  return 2 * bytes.size() + 64 < static_cast<size_t>(CLangFile::kBlockSize);
}

std::u16string Text(platform::FormObjectRef o, const char16_t* sProperty) {
  try {
    return base::CStr(o->GetProperty(sProperty));
  } catch (...) {
    return u"<none>";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzz_support;
  static MemoryFiles files;
  files.Clear();
  files.MakeDirectory(kAppFolder);
  testing_support::FakeApp app;
  app.sAppFolder = kAppFolder;
  platform::ScopedOverride<platform::IFiles> useFiles(files);
  platform::ScopedOverride<platform::IApp> useApp(app);

  FuzzInput in(data, size);
  const int nDumpForms = 1 + in.Byte() % 3;
  const std::u16string sFormCaption = in.Text(64);
  const std::vector<ControlDesign> designs = ReadControls(in, 64);
  auto designed = platform::MemoryFormObject::NewForm(u"frmFuzz");
  designed->SetProperty(u"Caption", base::Variant(sFormCaption));
  const auto taken = AddControls(*designed, designs, true);
  auto blank = platform::MemoryFormObject::NewForm(u"frmFuzz");
  std::vector<ControlDesign> takenDesigns;
  for (const auto& t : taken) takenDesigns.push_back(t.first);
  const auto blanks = AddControls(*blank, takenDesigns, false);

  {
    TestableLang dumper;
    dumper.nDumpForms = nDumpForms;
    dumper.sMainSection = u"Main";
    dumper.DumpForm(designed);
  }
  std::string dump;
  if (!files.Get(std::u16string(kAppFolder) + u"\\Dump\\frmFuzz.txt", &dump)) __builtin_trap();
  files.Put(kLanguageFile, LanguageFileHead("frmFuzz", 0) + dump);
  {
    TestableLang loader;
    if (!loader.Init(kLanguageFile, u"Main")) __builtin_trap();
    loader.LocalizeForm(blank);
  }
  if (base::HasPending() || files.OpenHandles() != 0) __builtin_trap();

  if (Carried(sFormCaption) && Text(blank, u"Caption") != sFormCaption) __builtin_trap();
  for (size_t i = 0; i < taken.size(); ++i) {
    const ControlDesign& c = taken[i].first;
    const platform::FormObjectRef& o = blanks[i].second;
    if (c.sType != u"Line" && Carried(c.sCaption) && Text(o, u"Caption") != Text(taken[i].second, u"Caption"))
      __builtin_trap();
    if (Carried(c.sToolTip) && Text(o, u"ToolTipText") != Text(taken[i].second, u"ToolTipText")) __builtin_trap();
    if (nDumpForms == 1) {
      for (const char16_t* p : {u"Left", u"Top", u"Width", u"Height", u"X1", u"Y1", u"X2", u"Y2"})
        if (Text(o, p) != Text(taken[i].second, p)) __builtin_trap();
    }
  }
  return 0;
}
