// PluralRule: a recursive-descent parser of gettext's plural grammar and the
// evaluator of the tree it builds.
#include "twinsweep/lang/plural_rule.h"

#include <algorithm>

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

// Reads one header; every failure names what it expected, and where.
class PluralRule::Parser {
 public:
  Parser(std::u16string_view s, std::vector<Node>& nodes, std::vector<int32_t>& depths)
      : s_(s), nodes_(nodes), depths_(depths) {}

  bool Header(int32_t* pnForms, int32_t* pnRoot) {
    uint64_t nForms = 0;
    if (!Word(u"nplurals") || !Expect(u'=') || !Number(&nForms)) return false;
    if (nForms < 1 || nForms > static_cast<uint64_t>(kMaxForms)) return Fail(u"nplurals must be 1 to 16");
    if (!Expect(u';') || !Word(u"plural") || !Expect(u'=')) return false;
    int32_t nRoot = Conditional();
    if (nRoot < 0) return false;
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
    do s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10)); while ((n /= 10) != 0);
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
  nodes_ = std::move(nodes);
  nRoot_ = nRoot;
  nForms_ = nForms;
  return true;
}

int32_t PluralRule::FormFor(uint64_t n) const {
  if (nodes_.empty()) return n == 1 ? 0 : 1;
  bool bDivByZero = false;
  const uint64_t nForm = Eval(nRoot_, n, &bDivByZero);
  return bDivByZero || nForm >= static_cast<uint64_t>(nForms_) ? 0 : static_cast<int32_t>(nForm);
}

uint64_t PluralRule::Eval(int32_t i, uint64_t n, bool* pbDivByZero) const {
  const Node& x = nodes_[static_cast<size_t>(i)];
  auto a = [&] { return Eval(x.a, n, pbDivByZero); };
  auto b = [&] { return Eval(x.b, n, pbDivByZero); };
  switch (x.op) {
    case Op::Number: return x.nValue;
    case Op::N: return n;
    case Op::Not: return !a();
    // Only the branch taken is evaluated: "n == 0 ? 0 : 10 / n" divides by no zero.
    case Op::Cond: return a() ? b() : Eval(x.c, n, pbDivByZero);
    case Op::And: return a() && b();
    case Op::Or: return a() || b();
    default: break;
  }
  const uint64_t l = a(), r = b();
  switch (x.op) {
    case Op::Mul: return l * r;
    case Op::Div:
    case Op::Mod:
      if (r == 0) {
        *pbDivByZero = true;
        return 0;
      }
      return x.op == Op::Div ? l / r : l % r;
    case Op::Add: return l + r;
    case Op::Sub: return l - r;
    case Op::Lt: return l < r;
    case Op::Le: return l <= r;
    case Op::Gt: return l > r;
    case Op::Ge: return l >= r;
    case Op::Eq: return l == r;
    case Op::Ne: return l != r;
    default: return 0;
  }
}
