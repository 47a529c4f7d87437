// Any bytes as a language file: loading, every section read, and lookups must
// neither crash nor let a failure escape.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/failure.h"
#include "base/text.h"
#include "lang/lang.h"
#include "testable_lang.h"

namespace {

const std::string& ScratchPath() {
  static const std::string path = "/tmp/tsw-fuzz-" + std::to_string(getpid()) + ".lng";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (FILE* f = std::fopen(ScratchPath().c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  std::u16string path = base::FromUtf8(ScratchPath());
  TestableLang lang;
  lang.Init(path, u"TwinsweepLauncher");
  lang.GetSection(path, u"version");
  lang.Item(u"LID_RUN_OUTLOOK");
  lang.Item(u"LID_TITLE", {base::Variant(1), base::Variant(u"x")});
  if (base::HasPending()) __builtin_trap();  // the engine must clear what it reports
  return 0;
}
