// The rules for registry texts that become file names and parts of web addresses.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "twinsweep/base/name_rules.h"
#include "twinsweep/base/text.h"

using namespace twinsweep;

namespace {

// One row per text: the rule's answer for it.
template <class T, class F>
void ExpectEach(F rule, const std::vector<std::pair<std::u16string, T>>& rows) {
  for (const auto& [s, expected] : rows) EXPECT_EQ(rule(s), expected) << base::ToUtf8(s);
}

TEST(NameRulesTest, PlainIdentifier) {
  ExpectEach<bool>(base::IsPlainIdentifier,
                   {{u"DE", true}, {u"pt-BR", true}, {u"zh_TW", true}, {u"en2", true},
                    {std::u16string(32, u'A'), true}, {std::u16string(33, u'A'), false}, {u"", false},
                    {u"..\\..\\x", false}, {u"a/b", false}, {u"C:x", false}, {u"DE\" \"--x", false},
                    {u"DE ", false}, {u"D.E", false}, {u"a&b", false},
                    // a letter, but not one that every file system and address takes as it is
                    {u"\u00c4", false}, {std::u16string(u"DE\0x", 4), false}});
}

TEST(NameRulesTest, PlainFileName) {
  ExpectEach<bool>(base::IsPlainFileName,
                   {{u"Deutsch.lng", true}, {u"my language (2).lng", true}, {u"\u65e5\u672c\u8a9e.lng", true},
                    {u"CONTOSO.lng", true}, {u"COM0.lng", true}, {u"", false},
                    {u"..\\..\\elsewhere\\evil.lng", false}, {u"sub\\DE.lng", false}, {u"sub/DE.lng", false},
                    {u"C:evil.lng", false}, {u"DE.lng:stream", false}, {u"\\\\server\\share\\DE.lng", false},
                    {u"..", false}, {u"DE.lng.", false}, {u"DE.lng ", false}, {u"DE?.lng", false},
                    {u"DE\t.lng", false}, {u"NUL", false}, {u"con.lng", false}, {u"COM1.lng", false},
                    {u"LPT9", false}, {std::u16string(u"DE.lng\0x", 8), false},
                    // superscript one to three are port numbers too; other superscripts are not
                    {u"COM\u00b9.lng", false}, {u"lpt\u00b2.lng", false}, {u"COM\u00b3", false},
                    {u"LPT\u00b3 .lng", false}, {u"COM\u2074.lng", true}, {u"COM\u00b9x.lng", true}});
}

TEST(NameRulesTest, FullPath) {
  ExpectEach<bool>(base::IsFullPath, {{u"C:\\Office\\OUTLOOK.EXE", true}, {u"\\\\server\\share\\x.exe", true},
                                      {u"C:x.exe", false}, {u"\\x.exe", false}, {u"OUTLOOK.EXE", false},
                                      {u"..\\x.exe", false}, {u"", false}});
}

TEST(NameRulesTest, PercentEncode) {
  ExpectEach<std::u16string>(base::PercentEncode,
                             {{u"DE", u"DE"}, {u"pt-BR_x.y~z", u"pt-BR_x.y~z"}, {u"", u""}, {u"a&b", u"a%26b"},
                              {u"DE\" \"--x", u"DE%22%20%22--x"}, {u"..\\..\\x", u"..%5C..%5Cx"},
                              {u"a/b?c#d%e+f", u"a%2Fb%3Fc%23d%25e%2Bf"}, {u"\u00c4", u"%C3%84"},
                              {u"\u65e5", u"%E6%97%A5"}, {u"\U0001F600", u"%F0%9F%98%80"},
                              {u"\xD800", u"%EF%BF%BD"},  // a lone surrogate
                              {std::u16string(u"a\0b", 3), u"a%00b"}});
}

}  // namespace
