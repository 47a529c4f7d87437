#pragma once
// lngcheck, the translators' check of a language file, as a function of its
// arguments, so that tests run it in-process.
//
//   lngcheck [--format=text|json] [--werror] [--reference REF.lng] FILE.lng [MAIN_SECTION]
//   lngcheck --pseudo REF.lng [MAIN_SECTION]
//   lngcheck --to-po REF.lng [TRANSLATION.lng] [MAIN_SECTION]
//   lngcheck --from-po XX.po REF.lng [--base XX.lng] [--lang NAME] [MAIN_SECTION]
//   lngcheck --fix FILE.lng...
//   lngcheck --fit FILE.lng [--format=text|json] [--program PROGRAM.exe] [--margin PERCENT] [MAIN_SECTION]
//
// Findings go to *psOut, one "FILE:LINE:COLUMN: severity: message [check]" a line
// (or one JSON array); a summary and usage errors go to *psErr. With --pseudo,
// --to-po and --from-po, *psOut receives the bytes of the file made, and *psErr
// what --from-po refused or left out; --fix says for each file what it did;
// --fit prints the texts that do not fit their controls (fit.h).
// Exit status: 0 clean, 1 errors (or warnings under --werror; a PO file that
// --from-po refuses), 2 a file that cannot be read or written, a reference that
// does not load, or wrong usage.
#include <string>
#include <vector>

namespace lngcheck {

constexpr char16_t kDefaultMainSection[] = u"TwinsweepLauncher";

// args[0] is the program's name.
int Run(const std::vector<std::u16string>& args, std::string* psOut, std::string* psErr);

}  // namespace lngcheck
