#pragma once
// lngcheck --fix: language files rewritten in place as UTF-8 with a byte-order
// mark and CR LF line ends, their text unchanged (see SourceFile for how each
// encoding and line end is read). A file that is so already is not touched.
#include <string>
#include <vector>

namespace lngcheck {

// One line for each file on *psOut; 0, or 2 when a file could not be read or
// written (its original bytes are then written back where that succeeds).
int FixFiles(const std::vector<std::u16string>& paths, std::string* psOut, std::string* psErr);

}  // namespace lngcheck
