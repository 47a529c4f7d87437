#include "support/source_languages.h"

#include "twinsweep/base/text.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"

using namespace twinsweep;

namespace testing_support {

std::u16string ShippedLanguagesFolder(const char* szSourceDir) {
  std::u16string s = base::FromUtf8(std::string(szSourceDir) + "/languages");
  for (auto& c : s)
    if (c == u'/') c = u'\\';
  for (const std::u16string& sCandidate : {s, u"Z:" + s}) {
    platform::ScopedFind hFind;
    platform::FindData fd;
    if (platform::Files().FindFirst(sCandidate + u"\\*.lng", hFind.Receive(), &fd) == 0) return sCandidate;
  }
  return s;
}

}  // namespace testing_support
