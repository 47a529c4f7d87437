#pragma once
// A language file's bytes for tests, fuzz targets and benchmarks: one builder,
// so that the version section a valid file needs is written in one place.
#include <initializer_list>
#include <string>

namespace testing_support {

inline const std::string kLangSignature = "Orvex.LangLngFile";

// What a test varies in the head of a language file besides its id.
struct LangFileHead {
  std::string sName;  // the lang value; "Lang " and the id when empty
  bool bBom = false;  // the file starts with the UTF-8 byte order mark
};

// A minimal valid language file: its version section, then the given lines, each
// ended by CR LF.
inline std::string LangFile(const std::string& sLangID, std::initializer_list<std::string> rest = {},
                            const std::string& sSignature = kLangSignature, const LangFileHead& head = {}) {
  std::string s = head.bBom ? "\xEF\xBB\xBF" : "";
  for (const std::string& l :
       {std::string("[version]"), "signature = \"" + sSignature + "\"",
        "lang = \"" + (head.sName.empty() ? "Lang " + sLangID : head.sName) + "\"", "langid = \"" + sLangID + "\""})
    s += l + "\r\n";
  for (const auto& l : rest) s += l + "\r\n";
  return s;
}

}  // namespace testing_support
