#pragma once
// LangSectionIndex: where the sections of one language file stand, found in one
// scan of its lines (CLang::IndexSections).
//
// It holds, for the first occurrence of each section name (lower-cased), the
// byte range of the section's body in the reader's bytes and the line number of
// its header, and how the scan ended. The scan stops at the first malformed
// section header, as every section read that reaches that header would; what
// follows it is never indexed. Entries are not looked at here: each section
// read parses the lines of its body again, so a section read twice is parsed,
// and reported on, twice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace twinsweep {

struct LangSectionIndex {
  struct Section {
    size_t nBodyStart = 0;  // reader position after the header line
    size_t nBodyEnd = 0;    // start of the next header line, or the end of the bytes
    int32_t nHeaderLine = 0;
    int32_t nBodyLines = 0;  // an upper bound of its entries
    bool bLast = false;      // no well-formed header follows it
  };
  enum class Stop { End, BadHeader, ReadFailed };

  std::unordered_map<std::u16string, Section> sections;  // by lower-cased name
  Stop stop = Stop::End;
  std::u16string sStopReport;  // BadHeader: the report about the header
  int32_t nStopNumber = 0;     // ReadFailed: the read failure's number
};

}  // namespace twinsweep
