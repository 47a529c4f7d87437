// PluralRule on its own: the limits that refuse a hostile header, and the jumps
// that ?:, && and || compile to, each checked on both sides of the table of
// small counts (the rule runs for a count beyond it).
#include "twinsweep/lang/plural_rule.h"

#include <gtest/gtest.h>

#include "twinsweep/base/text.h"

namespace twinsweep {
namespace {

std::u16string U(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(PluralRule, CompiledJumpsTakeOnlyTheBranchThatRuns) {
  const struct {
    std::string sRule;
    uint64_t n;
    int32_t nForm;
  } cases[] = {
      // || stops at a true left side: the right one would divide by zero.
      {"nplurals=3; plural=n==0 || 10/n==0 ? 2 : 1;", 0, 2},
      {"nplurals=3; plural=n==0 || 10/n==0 ? 2 : 1;", 1000, 2},
      {"nplurals=3; plural=n==0 || 10/n==0 ? 2 : 1;", 5, 1},
      // && stops at a false left side.
      {"nplurals=3; plural=n!=0 && 10/n==2 ? 2 : 1;", 0, 1},
      {"nplurals=3; plural=n!=0 && 10/n==2 ? 2 : 1;", 5, 2},
      {"nplurals=3; plural=n!=0 && 10/n==2 ? 2 : 1;", 300, 1},
      // Both give 0 or 1, whatever their operands' values.
      {"nplurals=3; plural=(n && 7) + (n || 0);", 9, 2},
      {"nplurals=3; plural=(n && 7) + (n || 0);", 300, 2},
      {"nplurals=3; plural=(0 || n) + (n && 0);", 0, 0},
      // Jumps inside jumps: the end of each branch lands after its own ?:.
      {"nplurals=4; plural=n<300 ? (n<2 ? 0 : 1) : (n%2 || n/0 ? 2 : 3);", 1, 0},
      {"nplurals=4; plural=n<300 ? (n<2 ? 0 : 1) : (n%2 || n/0 ? 2 : 3);", 255, 1},
      {"nplurals=4; plural=n<300 ? (n<2 ? 0 : 1) : (n%2 || n/0 ? 2 : 3);", 301, 2},
      {"nplurals=4; plural=n<300 ? (n<2 ? 0 : 1) : (n%2 || n/0 ? 2 : 3);", 302, 0},  // divides by zero
      // Unsigned arithmetic, as gettext's: 0 - 1 wraps and is not below 1.
      {"nplurals=2; plural=n-1<1 ? 0 : 1;", 0, 1},
  };
  for (const auto& c : cases) {
    PluralRule rule;
    std::u16string sWhy;
    ASSERT_TRUE(rule.Parse(U(c.sRule), &sWhy)) << c.sRule << ": " << base::ToUtf8(sWhy);
    EXPECT_EQ(c.nForm, rule.FormFor(c.n)) << c.sRule << " n=" << c.n;
  }
}

TEST(PluralRule, LimitsRefuseAHeaderAndKeepTheRuleBefore) {
  // The parser's nesting counts the expression's own level and that of n too.
  const std::string kDeep = "nplurals=2; plural=" + std::string(PluralRule::kMaxDepth - 1, '!') + "n;";
  // A balanced sum of 255 nodes, eight deep: too many nodes, not too deep.
  std::string sSum = "n";
  for (int i = 0; i < 7; ++i) sSum = "(" + sSum + "+" + sSum + ")";
  const std::string sWide = "nplurals=2; plural=" + sSum + ";";
  const struct {
    std::string sRule;
    bool bRead;
    std::string sWhy;  // the start of the reason
  } cases[] = {
      {"nplurals=16; plural=15;", true, ""},
      {"nplurals=17; plural=0;", false, "nplurals must be 1 to 16"},
      {"nplurals=2; plural=" + std::string(PluralRule::kMaxDepth - 2, '!') + "n;", true, ""},
      {kDeep, false, "the expression is nested too deeply"},
      {sWide, false, "the expression is too long"},
      {"nplurals=2; plural=n" + std::string(PluralRule::kMaxLength, ' ') + ";", false,
       "the rule is longer than 1000 characters"},
      {"nplurals=2; plural=n;;", false, "the rule goes on after its expression"},
  };
  for (const auto& c : cases) {
    PluralRule rule;
    std::u16string sWhy;
    ASSERT_TRUE(rule.Parse(u"nplurals=3; plural=n%3;", &sWhy));
    EXPECT_EQ(c.bRead, rule.Parse(U(c.sRule), &sWhy)) << c.sRule;
    if (c.bRead) continue;
    EXPECT_EQ(0u, base::ToUtf8(sWhy).rfind(c.sWhy, 0)) << base::ToUtf8(sWhy);
    EXPECT_EQ(3, rule.Forms()) << c.sRule;
    EXPECT_EQ(2, rule.FormFor(302)) << c.sRule;
  }
}

}  // namespace
}  // namespace twinsweep
