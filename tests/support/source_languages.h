#pragma once
// The source tree's folder of shipped language files, in the platform's path form.
#include <string>

namespace testing_support {

// Natively the files service maps "\" to "/"; under Wine a rooted path lies on the
// current drive, which is the one mapping the build tree, else on Z:, Wine's root
// mapping. The first form under which the folder lists *.lng files is answered.
// szSourceDir is the source tree's root (the tests' TWINSWEEP_SOURCE_DIR).
std::u16string ShippedLanguagesFolder(const char* szSourceDir);

}  // namespace testing_support
