#include "po_file.h"

#include <cctype>

#include "twinsweep/base/text.h"
#include "source_file.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The content of the string literal at s[i], its C escapes resolved; false when
// it is not one literal and nothing else.
bool ParseLiteral(const std::string& s, size_t i, std::string* pOut, std::string* psWhy) {
  if (i >= s.size() || s[i] != '"') {
    *psWhy = "a string in double quotes expected";
    return false;
  }
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      while (++i < s.size())
        if (!IsBlank(s[i])) {
          *psWhy = "text after the closing quote";
          return false;
        }
      return true;
    }
    if (c != '\\') {
      *pOut += c;
      continue;
    }
    if (++i >= s.size()) break;
    c = s[i];
    static const std::string kFrom = "ntr\"\\abfv?'", kTo = "\n\t\r\"\\\a\b\f\v?'";
    const size_t k = kFrom.find(c);
    if (k != std::string::npos) {
      *pOut += kTo[k];
    } else if (c >= '0' && c <= '7') {
      int n = 0;
      for (int d = 0; d < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++d, ++i) n = n * 8 + (s[i] - '0');
      --i;
      *pOut += static_cast<char>(n);
    } else if (c == 'x') {
      int n = 0, d = 0;
      for (++i; i < s.size() && isxdigit(static_cast<unsigned char>(s[i])); ++i, ++d)
        n = (n * 16 + (isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0' : (s[i] | 0x20) - 'a' + 10)) & 0xFF;
      --i;
      if (!d) {
        *psWhy = "\\x without hexadecimal digits";
        return false;
      }
      *pOut += static_cast<char>(n);
    } else {
      *psWhy = std::string("unknown escape \\") + c;
      return false;
    }
  }
  *psWhy = "the string has no closing quote";
  return false;
}

struct Pending {
  bool bFuzzy = false, bPlural = false;
  bool bHasContext = false, bHasId = false, bHasStr = false;
  std::string sContext, sId, sStr;
  std::string sIgnored;            // msgid_plural
  std::vector<std::string> forms;  // msgstr[1] and on, at their number
  int nLine = 0;
  std::vector<std::string> comments;
};

}  // namespace

bool ParsePo(const std::string& bytesIn, PoFile* pPo, std::string* psError) {
  std::string bytes = bytesIn.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytesIn.substr(3) : bytesIn;
  Pending cur;
  std::string* pLast = nullptr;  // the string that a continuation line extends
  int nLine = 0;
  auto fail = [&](const std::string& sWhy) {
    *psError = std::to_string(nLine) + ": " + sWhy;
    return false;
  };
  auto finish = [&]() -> bool {
    if (cur.bHasId) {
      for (const std::string* p : {&cur.sContext, &cur.sId, &cur.sStr})
        if (!IsUtf8(*p)) return fail("text that is not UTF-8");
      for (const std::string& sForm : cur.forms)
        if (!IsUtf8(sForm)) return fail("text that is not UTF-8");
      if (!cur.bHasContext && cur.sId.empty()) {
        pPo->bHasHeader = true;
        pPo->headerComments = cur.comments;
        for (const std::u16string& sField : base::Split(base::FromUtf8(cur.sStr), u"\n")) {
          const std::string s = base::ToUtf8(sField);
          const size_t nColon = s.find(':');
          if (nColon == std::string::npos) continue;
          size_t b = nColon + 1;
          while (b < s.size() && IsBlank(s[b])) ++b;
          pPo->fields[s.substr(0, nColon)] = s.substr(b);
        }
      } else {
        std::vector<std::u16string> forms;
        if (cur.bPlural) {
          forms.push_back(base::FromUtf8(cur.sStr));
          for (size_t k = 1; k < cur.forms.size(); ++k) forms.push_back(base::FromUtf8(cur.forms[k]));
        }
        pPo->messages.push_back({cur.bHasContext, base::FromUtf8(cur.sContext), base::FromUtf8(cur.sId),
                                 base::FromUtf8(cur.sStr), cur.bFuzzy, cur.bPlural, std::move(forms), cur.nLine});
      }
    }
    cur = Pending{};
    pLast = nullptr;
    return true;
  };
  size_t b = 0;
  while (b < bytes.size()) {
    size_t e = bytes.find('\n', b);
    if (e == std::string::npos) e = bytes.size();
    std::string line = bytes.substr(b, e - b);
    b = e + 1;
    ++nLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) {
      if (!finish()) return false;
      continue;
    }
    if (line[i] == '#') {
      if (cur.bHasId && !finish()) return false;
      // An obsolete message is "#~" lines only: skipped whole.
      if (line.compare(i, 2, "#~") == 0) {
      } else if (line.compare(i, 2, "#,") == 0) {
        for (const std::u16string& sFlag : base::Split(base::FromUtf8(line.substr(i + 2)), u","))
          if (base::ToUtf8(sFlag).find("fuzzy") != std::string::npos) cur.bFuzzy = true;
      } else if (i + 1 == line.size() || line[i + 1] == ' ') {
        cur.comments.push_back(i + 1 == line.size() ? "" : line.substr(i + 2));
      }
      continue;
    }
    if (line[i] == '"') {
      if (!pLast) return fail("a string continues no keyword");
      std::string sWhy;
      if (!ParseLiteral(line, i, pLast, &sWhy)) return fail(sWhy);
      continue;
    }
    size_t k = i;
    while (k < line.size() && !IsBlank(line[k])) ++k;
    const std::string sKeyword = line.substr(i, k - i);
    while (k < line.size() && IsBlank(line[k])) ++k;
    if ((sKeyword == "msgctxt" || sKeyword == "msgid") && (cur.bHasId || (cur.bHasContext && sKeyword == "msgctxt"))) {
      if (!finish()) return false;
    }
    if (sKeyword == "msgctxt") {
      cur.bHasContext = true;
      pLast = &cur.sContext;
    } else if (sKeyword == "msgid") {
      cur.bHasId = true;
      cur.nLine = nLine;
      pLast = &cur.sId;
    } else if (sKeyword == "msgid_plural") {
      cur.bPlural = true;
      pLast = &cur.sIgnored;
    } else if (sKeyword == "msgstr" || sKeyword.compare(0, 7, "msgstr[") == 0) {
      if (!cur.bHasId) return fail("msgstr without msgid");
      if (sKeyword == "msgstr[0]" || sKeyword == "msgstr") {
        cur.bHasStr = true;
        cur.nLine = nLine;
        pLast = &cur.sStr;
      } else {
        // msgstr[N]: a number of at most two digits and a closing bracket.
        size_t n = 0, i = 7;
        for (; i < sKeyword.size() && i < 9 && std::isdigit(static_cast<unsigned char>(sKeyword[i])); ++i)
          n = n * 10 + static_cast<size_t>(sKeyword[i] - '0');
        if (i == 7 || i + 1 != sKeyword.size() || sKeyword[i] != ']') return fail("unknown keyword '" + sKeyword + "'");
        if (cur.forms.size() <= n) cur.forms.resize(n + 1);
        pLast = &cur.forms[n];
      }
    } else {
      return fail("unknown keyword '" + sKeyword + "'");
    }
    std::string sWhy;
    if (!ParseLiteral(line, k, pLast, &sWhy)) return fail(sWhy);
  }
  if (!finish()) return false;
  auto it = pPo->fields.find("Content-Type");
  if (it != pPo->fields.end()) {
    std::string s = base::ToUtf8(base::LCase(base::FromUtf8(it->second)));
    const size_t n = s.find("charset=");
    if (n != std::string::npos) {
      const std::string sCharset = s.substr(n + 8);
      if (sCharset != "utf-8" && sCharset != "charset") {
        nLine = 1;
        return fail("the charset is " + sCharset + "; save the PO file as UTF-8");
      }
    }
  }
  return true;
}

}  // namespace lngcheck
