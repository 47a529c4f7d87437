// Any bytes as a language file: loading from memory, a section read and
// lookups must neither crash nor let a failure escape.
#include <cstdint>
#include <string>
#include <string_view>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang.h"

using namespace twinsweep;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CLang lang;
  lang.InitFromMemory(u"C:\\fuzz\\x.lng", bytes, u"TwinsweepLauncher");
  lang.Item(u"LID_RUN_OUTLOOK");
  lang.Item(u"LID_TITLE", {base::Variant(1), base::Variant(u"x")});
  lang.ItemPlural(u"LID_TITLE", 21, {base::Variant(21)});  // by the file's plural rule, if any
  lang.ItemSet(u"LID_TITLE", u"y");
  lang.ItemFind(u"lid_title");
  if (base::HasPending()) __builtin_trap();  // the engine must clear what it reports
  return 0;
}
