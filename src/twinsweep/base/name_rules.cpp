#include "twinsweep/base/name_rules.h"

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace base {
namespace {

bool IsAsciiLetterOrDigit(char32_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

bool IsDeviceName(std::u16string_view sBase) {
  while (!sBase.empty() && sBase.back() == u' ') sBase.remove_suffix(1);
  const std::u16string s = UCase(sBase);
  if (s == u"CON" || s == u"PRN" || s == u"AUX" || s == u"NUL" || s == u"CONIN$" || s == u"CONOUT$") return true;
  if (s.size() != 4 || (s.compare(0, 3, u"COM") != 0 && s.compare(0, 3, u"LPT") != 0)) return false;
  // The system also takes the superscript digits one to three for port numbers.
  const char16_t c = s[3];
  return (c >= u'1' && c <= u'9') || c == u'\u00b9' || c == u'\u00b2' || c == u'\u00b3';
}

}  // namespace

bool IsPlainIdentifier(std::u16string_view s) {
  if (s.empty() || s.size() > kMaxPlainIdentifier) return false;
  for (char16_t c : s)
    if (!IsAsciiLetterOrDigit(c) && c != u'-' && c != u'_') return false;
  return true;
}

bool IsPlainFileName(std::u16string_view s) {
  constexpr size_t kMaxFileName = 255;
  if (s.empty() || s.size() > kMaxFileName || s.back() == u'.' || s.back() == u' ') return false;
  for (char16_t c : s)
    if (c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos) return false;
  return !IsDeviceName(s.substr(0, s.find(u'.')));
}

bool IsFullPath(std::u16string_view s) {
  return (s.size() >= 3 && s[1] == u':' && s[2] == u'\\') || s.substr(0, 2) == u"\\\\";
}

std::u16string PercentEncode(std::u16string_view s) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string r;
  for (unsigned char b : ToUtf8(s)) {
    if (IsAsciiLetterOrDigit(b) || b == '-' || b == '.' || b == '_' || b == '~') {
      r.push_back(b);
    } else {
      r.push_back(u'%');
      r.push_back(kHex[b >> 4]);
      r.push_back(kHex[b & 0xF]);
    }
  }
  return r;
}

}  // namespace base

}  // namespace twinsweep
