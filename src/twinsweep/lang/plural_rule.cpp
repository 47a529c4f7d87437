// PluralRule: a recursive-descent parser of gettext's plural grammar and the
// evaluator of the tree it builds.
#include "twinsweep/lang/plural_rule.h"

#include <algorithm>

namespace twinsweep {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

// Reads one header; every failure names what it expected, and where.
class PluralRule::Parser {
 public:
  Parser(std::u16string_view s, std::vector<Node>& nodes, std::vector<int32_t>& depths)
      : s_(s), nodes_(nodes), depths_(depths) {}

  // "nplurals=N; plural=EXPR;", the two settings in either order, as gettext takes them.
  bool Header(int32_t* pnForms, int32_t* pnRoot) {
    uint64_t nForms = 0;
    int32_t nRoot = -1;
    for (int nSetting = 0; nSetting < 2; ++nSetting) {
      if (nSetting == 1 && !Expect(u';')) return false;
      Skip();
      if (nSetting == 0 ? s_.substr(p_, 6) != u"plural" : nRoot >= 0) {
        if (!Word(u"nplurals") || !Expect(u'=') || !Number(&nForms)) return false;
        if (nForms < 1 || nForms > static_cast<uint64_t>(kMaxForms)) return Fail(u"nplurals must be 1 to 16");
      } else if (!Word(u"plural") || !Expect(u'=') || (nRoot = Conditional()) < 0) {
        return false;
      }
    }
    Skip();
    if (Peek() == u';') ++p_;
    Skip();
    if (p_ < s_.size()) return Fail(u"the rule goes on after its expression");
    *pnForms = static_cast<int32_t>(nForms);
    *pnRoot = nRoot;
    return true;
  }

  std::u16string sWhy;

 private:
  char16_t Peek() {
    Skip();
    return p_ < s_.size() ? s_[p_] : 0;
  }
  void Skip() {
    while (p_ < s_.size() && IsSpace(s_[p_])) ++p_;
  }
  bool Fail(const std::u16string& sWhat) {
    if (sWhy.empty()) sWhy = sWhat + u" at character " + Decimal(p_ + 1);
    return false;
  }
  static std::u16string Decimal(size_t n) {
    std::u16string s;
    do s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    while ((n /= 10) != 0);
    return s;
  }
  int32_t Refuse(const std::u16string& sWhat) {
    Fail(sWhat);
    return -1;
  }
  bool Expect(char16_t c) {
    if (Peek() != c) return Fail(std::u16string(u"'") + c + u"' expected");
    ++p_;
    return true;
  }
  bool Word(std::u16string_view w) {
    Skip();
    if (s_.substr(p_, w.size()) != w) return Fail(u"'" + std::u16string(w) + u"' expected");
    p_ += w.size();
    return true;
  }
  bool Number(uint64_t* pn) {
    if (!IsDigit(Peek())) return Fail(u"a number expected");
    uint64_t n = 0;
    for (; p_ < s_.size() && IsDigit(s_[p_]); ++p_) {
      const uint64_t d = static_cast<uint64_t>(s_[p_] - u'0');
      if (n > (UINT64_MAX - d) / 10) return Fail(u"a number too large");
      n = n * 10 + d;
    }
    *pn = n;
    return true;
  }
  // Matches an operator of one or two characters; a one-character one must not
  // be the start of a two-character one ("<" is not "<=", "!" is not "!=").
  bool Take(std::u16string_view op) {
    Peek();
    if (s_.substr(p_, op.size()) != op) return false;
    if (op.size() == 1 && p_ + 1 < s_.size() && s_[p_ + 1] == u'=' && (op[0] == u'<' || op[0] == u'>' || op[0] == u'!'))
      return false;
    p_ += op.size();
    return true;
  }
  int32_t Add(Op op, int32_t a = -1, int32_t b = -1, int32_t c = -1, uint64_t nValue = 0) {
    if (static_cast<int32_t>(nodes_.size()) >= kMaxNodes) return Refuse(u"the expression is too long");
    int32_t nDepth = 0;
    for (int32_t k : {a, b, c})
      if (k >= 0) nDepth = std::max(nDepth, depths_[static_cast<size_t>(k)]);
    if (nDepth + 1 > kMaxDepth) return Refuse(u"the expression is nested too deeply");
    Node node{op};
    node.a = a;
    node.b = b;
    node.c = c;
    node.nValue = nValue;
    nodes_.push_back(node);
    depths_.push_back(nDepth + 1);
    return static_cast<int32_t>(nodes_.size() - 1);
  }
  // Guards the parser's own recursion, which a tree's depth does not bound
  // ("((((n))))" adds no node).
  struct Nest {
    explicit Nest(Parser& p) : p_(p) { ++p_.nNest_; }
    ~Nest() { --p_.nNest_; }
    Parser& p_;
  };

  // cond := or ['?' cond ':' cond]
  int32_t Conditional() {
    Nest nest(*this);
    if (nNest_ > kMaxDepth) return Refuse(u"the expression is nested too deeply");
    int32_t a = Binary(0);
    if (a < 0 || !Take(u"?")) return a;
    int32_t b = Conditional();
    if (b < 0 || !Expect(u':')) return -1;
    int32_t c = Conditional();
    return c < 0 ? -1 : Add(Op::Cond, a, b, c);
  }
  // The binary levels, loosest first, each left-associative.
  int32_t Binary(size_t nLevel) {
    struct Level {
      std::u16string_view ops[4];
      Op codes[4];
    };
    static const Level kLevels[] = {
        {{u"||"}, {Op::Or}},
        {{u"&&"}, {Op::And}},
        {{u"==", u"!="}, {Op::Eq, Op::Ne}},
        {{u"<=", u">=", u"<", u">"}, {Op::Le, Op::Ge, Op::Lt, Op::Gt}},
        {{u"+", u"-"}, {Op::Add, Op::Sub}},
        {{u"*", u"/", u"%"}, {Op::Mul, Op::Div, Op::Mod}},
    };
    if (nLevel == std::size(kLevels)) return Unary();
    int32_t a = Binary(nLevel + 1);
    while (a >= 0) {
      const Level& level = kLevels[nLevel];
      size_t k = 0;
      while (k < 4 && !level.ops[k].empty() && !Take(level.ops[k])) ++k;
      if (k == 4 || level.ops[k].empty()) break;
      int32_t b = Binary(nLevel + 1);
      a = b < 0 ? -1 : Add(level.codes[k], a, b);
    }
    return a;
  }
  int32_t Unary() {
    Nest nest(*this);
    if (nNest_ > kMaxDepth) return Refuse(u"the expression is nested too deeply");
    if (Take(u"!")) {
      int32_t a = Unary();
      return a < 0 ? -1 : Add(Op::Not, a);
    }
    const char16_t c = Peek();
    if (c == u'n') {
      ++p_;
      return Add(Op::N);
    }
    if (IsDigit(c)) {
      uint64_t n = 0;
      return Number(&n) ? Add(Op::Number, -1, -1, -1, n) : -1;
    }
    if (c == u'(') {
      ++p_;
      int32_t a = Conditional();
      return a >= 0 && Expect(u')') ? a : -1;
    }
    return Refuse(u"n, a number, '!' or '(' expected");
  }

  std::u16string_view s_;
  size_t p_ = 0;
  int32_t nNest_ = 0;
  std::vector<Node>& nodes_;
  std::vector<int32_t>& depths_;
};

bool PluralRule::Parse(std::u16string_view sHeader, std::u16string* psWhy) {
  if (sHeader.size() > kMaxLength) {
    *psWhy = u"the rule is longer than 1000 characters";
    return false;
  }
  std::vector<Node> nodes;
  std::vector<int32_t> depths;
  Parser parser(sHeader, nodes, depths);
  int32_t nForms = 0, nRoot = -1;
  if (!parser.Header(&nForms, &nRoot)) {
    *psWhy = parser.sWhy;
    return false;
  }
  program_.clear();
  Compile(nodes, nRoot);
  nForms_ = nForms;
  tabled_.clear();
  for (uint64_t n = 0; n < kTabled; ++n) tabled_.push_back(static_cast<uint8_t>(FormFor(n)));
  return true;
}

int32_t PluralRule::FormFor(uint64_t n) const {
  if (program_.empty()) return n == 1 ? 0 : 1;
  if (n < tabled_.size()) return tabled_[n];
  bool bDivByZero = false;
  const uint64_t nForm = Run(n, &bDivByZero);
  return bDivByZero || nForm >= static_cast<uint64_t>(nForms_) ? 0 : static_cast<int32_t>(nForm);
}

void PluralRule::Compile(const std::vector<Node>& nodes, int32_t i) {
  const Node& x = nodes[static_cast<size_t>(i)];
  auto jump = [&](Step step) {
    program_.push_back({step, Op::Number, 0});
    return program_.size() - 1;
  };
  auto here = [&](size_t nJump) { program_[nJump].nArg = program_.size(); };
  switch (x.op) {
    case Op::Number: program_.push_back({Step::Push, x.op, x.nValue}); return;
    case Op::N: program_.push_back({Step::PushN, x.op, 0}); return;
    case Op::Not:
      Compile(nodes, x.a);
      program_.push_back({Step::Not, x.op, 0});
      return;
    case Op::Cond: {
      // Only the branch taken runs: "n == 0 ? 0 : 10 / n" divides by no zero.
      Compile(nodes, x.a);
      const size_t nElse = jump(Step::JumpIfZero);
      Compile(nodes, x.b);
      const size_t nEnd = jump(Step::Jump);
      here(nElse);
      Compile(nodes, x.c);
      here(nEnd);
      return;
    }
    case Op::And:
    case Op::Or: {
      // a && b: 0 without b when a is 0; a || b: 1 without b when a is not 0.
      const bool bAnd = x.op == Op::And;
      Compile(nodes, x.a);
      const size_t nShort = jump(bAnd ? Step::JumpIfZero : Step::JumpIfNotZero);
      Compile(nodes, x.b);
      program_.push_back({Step::Bool, x.op, 0});
      const size_t nEnd = jump(Step::Jump);
      here(nShort);
      program_.push_back({Step::Push, Op::Number, bAnd ? 0u : 1u});
      here(nEnd);
      return;
    }
    default: {
      Compile(nodes, x.a);
      const Node& b = nodes[static_cast<size_t>(x.b)];
      if (b.op == Op::Number) {
        program_.push_back({Step::BinaryConst, x.op, b.nValue});
        return;
      }
      Compile(nodes, x.b);
      program_.push_back({Step::Binary, x.op, 0});
    }
  }
}

uint64_t PluralRule::Run(uint64_t n, bool* pbDivByZero) const {
  // The stack holds at most one value per level of the tree.
  uint64_t stack[kMaxDepth + 1];
  size_t nTop = 0;  // values on the stack
  const size_t nSteps = program_.size();
  for (size_t pc = 0; pc < nSteps; ++pc) {
    const Instruction& s = program_[pc];
    switch (s.step) {
      case Step::Push: stack[nTop++] = s.nArg; break;
      case Step::PushN: stack[nTop++] = n; break;
      case Step::Not: stack[nTop - 1] = !stack[nTop - 1]; break;
      case Step::Bool: stack[nTop - 1] = stack[nTop - 1] != 0; break;
      case Step::Jump: pc = s.nArg - 1; break;
      case Step::JumpIfZero:
        if (stack[--nTop] == 0) pc = s.nArg - 1;
        break;
      case Step::JumpIfNotZero:
        if (stack[--nTop] != 0) pc = s.nArg - 1;
        break;
      case Step::Binary:
      case Step::BinaryConst: {
        const uint64_t r = s.step == Step::Binary ? stack[--nTop] : s.nArg;
        uint64_t& l = stack[nTop - 1];
        switch (s.op) {
          case Op::Mul: l = l * r; break;
          case Op::Div:
          case Op::Mod:
            if (r == 0) {
              *pbDivByZero = true;
              return 0;
            }
            l = s.op == Op::Div ? l / r : l % r;
            break;
          case Op::Add: l = l + r; break;
          case Op::Sub: l = l - r; break;
          case Op::Lt: l = l < r; break;
          case Op::Le: l = l <= r; break;
          case Op::Gt: l = l > r; break;
          case Op::Ge: l = l >= r; break;
          case Op::Eq: l = l == r; break;
          case Op::Ne: l = l != r; break;
          default: break;
        }
        break;
      }
    }
  }
  return nTop == 1 ? stack[0] : 0;
}

}  // namespace twinsweep
