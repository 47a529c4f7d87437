#pragma once
// PluralRule: which plural form of a text a language uses for a count, from
// gettext's Plural-Forms header ("nplurals=3; plural=n%10==1 ? 0 : ...;").
//
// It owns the rule's expression, parsed once into a small tree: the count n,
// whole numbers, ! * / % + - < <= > >= == != && || ?: and parentheses, with C's
// precedence, in unsigned 64-bit arithmetic. Parsing is bounded (length, nodes,
// nesting), so a hostile header costs little and is refused; evaluation then
// never fails and never recurses deeper than the bound. A new rule, and one
// whose header was refused, is English: two forms, form 1 unless n is 1.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class PluralRule {
 public:
  static constexpr size_t kMaxLength = 1000;  // characters of a header
  static constexpr int32_t kMaxForms = 16;
  static constexpr int32_t kMaxNodes = 200;
  static constexpr int32_t kMaxDepth = 40;  // of the tree, and of the parser's nesting

  // Takes the header's rule; false, with *psWhy saying what is wrong, leaves
  // the rule as it was.
  bool Parse(std::u16string_view sHeader, std::u16string* psWhy);
  // The number of forms (nplurals).
  int32_t Forms() const { return nForms_; }
  // The form for the count n: the expression's value, or 0 when it divides by
  // zero or gives a form beyond nplurals (as gettext does).
  int32_t FormFor(uint64_t n) const;

 private:
  enum class Op : uint8_t { Number, N, Not, Mul, Div, Mod, Add, Sub, Lt, Le, Gt, Ge, Eq, Ne, And, Or, Cond };
  struct Node {
    Op op;
    int32_t a = -1, b = -1, c = -1;  // operands, by index
    uint64_t nValue = 0;             // of a Number
  };
  class Parser;
  uint64_t Eval(int32_t i, uint64_t n, bool* pbDivByZero) const;

  std::vector<Node> nodes_;  // empty: English
  int32_t nRoot_ = -1;
  int32_t nForms_ = 2;
};
