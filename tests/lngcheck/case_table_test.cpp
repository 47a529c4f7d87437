// The case table of lngcheck: every *.lng file of the cases folder is one case.
// Its comment lines say how lngcheck is run and what it must print:
//   ;$ ARGUMENTS      the command line after "lngcheck" (split at spaces)
//   ;> LINE           one line of the output, all of them in order
//   ;? STATUS         the exit status (0 when absent)
// In the arguments $FIT_PROGRAM is the options dialog example, which only the
// Windows tree builds (a case that names it is skipped in the other), and
// $FIT_STANDIN a script that only the native tree runs in its place, which writes
// the case's ";< " lines as the log; in an expected line <n> stands for any number
// (pixels depend on the fonts).
// The expected lines stand at the end of the file, so that they do not move the
// lines they name.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "lngcheck.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

struct Case {
  std::vector<std::u16string> args{u"lngcheck"};
  std::vector<std::string> expected;
  int nStatus = 0;
};

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> r;
  size_t b = 0;
  while (b < s.size()) {
    size_t e = s.find('\n', b);
    if (e == std::string::npos) e = s.size();
    std::string line = s.substr(b, e - b);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    r.push_back(line);
    b = e + 1;
  }
  return r;
}

Case ReadCase(const std::string& sName) {
  Case c;
  std::string bytes = testing_support::ReadAll(base::FromUtf8(sName));
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  // A case saved as UTF-16 (with its mark, either byte order) holds its lines in UTF-16.
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    const bool bBigEndian = bytes[0] == '\xFE';
    std::u16string s;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
      s += static_cast<char16_t>(bBigEndian ? (a << 8) | b : (b << 8) | a);
    }
    bytes = base::ToUtf8(s);
  }
  for (const std::string& line : Lines(bytes)) {
    const std::string sTag = line.substr(0, 3), sRest = line.size() > 3 ? line.substr(3) : "";
    if (sTag == ";$ ") {
      for (const std::u16string& a : base::Split(base::FromUtf8(sRest), u" ")) c.args.push_back(a);
    } else if (sTag == ";> ") {
      c.expected.push_back(sRest);
    } else if (sTag == ";? ") {
      c.nStatus = std::stoi(sRest);
    }
  }
  return c;
}

// The case files of the working folder, in the order the folder lists them.
std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  platform::ScopedFind hFind;
  platform::FindData fd;
  if (platform::Files().FindFirst(u"*.lng", hFind.Receive(), &fd) != platform::kErrorSuccess) return names;
  do {
    names.push_back(base::ToUtf8(fd.sName));
  } while (platform::Files().FindNext(hFind.Get(), &fd) == platform::kErrorSuccess);
  return names;
}

class LngcheckCase : public testing::TestWithParam<std::string> {};

// The expected line with each "<n>" matching any number.
bool Matches(const std::string& sExpected, const std::string& sLine) {
  if (sExpected.find("<n>") == std::string::npos) return sExpected == sLine;
  std::string sPattern;
  for (size_t i = 0; i < sExpected.size(); ++i) {
    if (sExpected.compare(i, 3, "<n>") == 0) {
      sPattern += "[0-9]+";
      i += 2;
    } else {
      sPattern += std::string(std::string(".^$|()[]{}*+?\\").find(sExpected[i]) == std::string::npos ? "" : "\\") +
                  sExpected[i];
    }
  }
  return std::regex_match(sLine, std::regex(sPattern));
}

TEST_P(LngcheckCase, PrintsExactlyTheExpectedLines) {
  Case c = ReadCase(GetParam());
  ASSERT_GT(c.args.size(), 1u) << "the case names no command line";
  const std::pair<std::u16string, std::string> programs[] = {{u"$FIT_PROGRAM", LNGCHECK_FIT_PROGRAM}, {u"$FIT_STANDIN", LNGCHECK_FIT_STANDIN}};
  for (std::u16string& a : c.args)
    for (const auto& [sName, sPath] : programs) {
      if (a != sName) continue;
      if (sPath.empty()) GTEST_SKIP() << "no " << base::ToUtf8(sName) << " in this tree";
      a = base::FromUtf8(sPath);
    }
  std::string sOut, sErr;
  const int nStatus = lngcheck::Run(c.args, &sOut, &sErr);
  const std::vector<std::string> printed = Lines(sOut);
  bool bSame = printed.size() == c.expected.size();
  for (size_t i = 0; bSame && i < printed.size(); ++i) bSame = Matches(c.expected[i], printed[i]);
  EXPECT_TRUE(bSame) << testing::PrintToString(printed) << "\n" << sErr;
  EXPECT_EQ(c.nStatus, nStatus) << sErr;
}

INSTANTIATE_TEST_SUITE_P(Cases, LngcheckCase, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string s = info.param.substr(0, info.param.rfind('.'));
                           for (char& ch : s)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return s;
                         });

// A wrong working folder must not pass as an empty table.
TEST(LngcheckCaseTable, FindsItsCases) { EXPECT_GE(CaseNames().size(), 15u); }

}  // namespace
