#pragma once
// A PO file as --from-po reads it: its header (the fields and the comment lines
// above it) and its messages with the line of each msgstr, so that a refusal
// names the line a translator fixes. Obsolete messages ("#~") are skipped.
#include <map>
#include <string>
#include <vector>

namespace lngcheck {

struct PoMessage {
  bool bHasContext = false;
  std::u16string sContext, sId, sStr;
  bool bFuzzy = false;
  bool bPlural = false;               // has msgid_plural; then sStr is msgstr[0]
  std::vector<std::u16string> forms;  // msgstr[0], msgstr[1], ... by number
  int nLine = 0;                      // of msgstr (of msgid when there is none)
};

struct PoFile {
  std::vector<std::string> headerComments;    // the lines above the header, each without its "#" and one blank
  std::map<std::string, std::string> fields;  // of the header, by name
  bool bHasHeader = false;
  std::vector<PoMessage> messages;
};

// Parses the bytes (UTF-8, LF or CR LF); false with *psError ("LINE: message")
// on a syntax error or a charset other than UTF-8.
bool ParsePo(const std::string& bytes, PoFile* pPo, std::string* psError);

}  // namespace lngcheck
