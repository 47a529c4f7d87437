#pragma once
// PluralRule: which plural form of a text a language uses for a count, from
// gettext's Plural-Forms header ("nplurals=3; plural=n%10==1 ? 0 : ...;").
//
// It owns the rule's expression, parsed once into a small tree: the count n,
// whole numbers, ! * / % + - < <= > >= == != && || ?: and parentheses, with C's
// precedence, in unsigned 64-bit arithmetic. Parsing is bounded (length, nodes,
// nesting), so a hostile header costs little and is refused. The tree is then
// flattened into a short program for a stack no deeper than the tree, which
// evaluation runs without recursion and without failing. A new rule, and one
// whose header was refused, is English: two forms, form 1 unless n is 1.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinsweep {

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
  // One step of the flat program: an operator of the tree, or a jump that
  // skips the branch that ?:, && and || do not take.
  // BinaryConst is a Binary whose right operand is the number nArg, the most
  // frequent shape ("n%10", "== 1"), in one step.
  enum class Step : uint8_t { Push, PushN, Not, Bool, Binary, BinaryConst, Jump, JumpIfZero, JumpIfNotZero };
  struct Instruction {
    Step step;
    Op op;          // of a Binary or BinaryConst
    uint64_t nArg;  // the number pushed or operated with, or the jump's target
  };
  void Compile(const std::vector<Node>& nodes, int32_t i);
  uint64_t Run(uint64_t n, bool* pbDivByZero) const;

  std::vector<Instruction> program_;  // empty: English
  int32_t nForms_ = 2;
  // The forms of the counts below kTabled, evaluated when the rule is parsed:
  // the counts a program shows are mostly small, and a lookup is cheaper than a walk.
  static constexpr uint64_t kTabled = 256;
  std::vector<uint8_t> tabled_;
};

}  // namespace twinsweep
