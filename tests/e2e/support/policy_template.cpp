#include "support/policy_template.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "support/paths.h"
#include "support/read_file.h"

namespace e2e {
namespace {

using Attributes = std::map<std::string, std::string>;

// The template is our own plain XML: elements with double-quoted attributes,
// comments, and the five predefined entities. That is all this reader knows.
std::string Unescape(std::string s) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&amp;", '&'}};
  for (const auto& [szEntity, c] : kEntities) {
    const std::string sEntity(szEntity);
    for (size_t n = 0; (n = s.find(sEntity, n)) != std::string::npos; ++n) s.replace(n, sEntity.size(), 1, c);
  }
  return s;
}

std::string WithoutComments(std::string s) {
  for (size_t n; (n = s.find("<!--")) != std::string::npos;) {
    const size_t end = s.find("-->", n);
    if (end == std::string::npos) throw std::runtime_error("the policy template has an unclosed comment");
    s.erase(n, end + 3 - n);
  }
  return s;
}

// The attributes of the start tag at the text's position nAt ("<name ...>").
Attributes ReadAttributes(const std::string& sText, size_t nAt) {
  const size_t end = sText.find('>', nAt);
  const std::string sTag = sText.substr(nAt, end - nAt);
  Attributes attributes;
  for (size_t n = sTag.find_first_of(" \t\r\n"); n != std::string::npos;) {
    const size_t nameAt = sTag.find_first_not_of(" \t\r\n/", n);
    if (nameAt == std::string::npos) break;
    const size_t eq = sTag.find('=', nameAt), open = sTag.find('"', eq), close = sTag.find('"', open + 1);
    if (eq == std::string::npos || open == std::string::npos || close == std::string::npos) break;
    std::string sName = sTag.substr(nameAt, eq - nameAt);
    sName.erase(sName.find_last_not_of(" \t\r\n") + 1);
    attributes[sName] = Unescape(sTag.substr(open + 1, close - open - 1));
    n = close + 1;
  }
  return attributes;
}

// The position of the first start tag <sElement ...> or <sElement> in [nFrom, nTo).
size_t FindTag(const std::string& sText, const std::string& sElement, size_t nFrom, size_t nTo) {
  for (size_t n = nFrom; (n = sText.find("<" + sElement, n)) != std::string::npos && n < nTo; ++n) {
    const char next = sText[n + 1 + sElement.size()];
    if (next == ' ' || next == '>' || next == '/' || next == '\t' || next == '\r' || next == '\n') return n;
  }
  return std::string::npos;
}

std::optional<DWORD> DecimalIn(const std::string& sText, const std::string& sElement, size_t nFrom, size_t nTo) {
  const size_t at = FindTag(sText, sElement, nFrom, nTo);
  if (at == std::string::npos) return std::nullopt;
  const size_t decimal = FindTag(sText, "decimal", at, nTo);
  if (decimal == std::string::npos) return std::nullopt;
  return static_cast<DWORD>(std::stoul(ReadAttributes(sText, decimal).at("value")));
}

std::wstring FromUtf8(const std::string& s) {
  if (s.empty()) return std::wstring();
  std::wstring w(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), static_cast<int>(w.size()));
  return w;
}

}  // namespace

PolicyPlace ReadPolicyPlace(const std::string& sName) {
  const std::string sText = WithoutComments(ReadWholeFile(PolicyTemplate()));
  if (sText.empty()) throw std::runtime_error("cannot read the policy template");
  for (size_t at = 0; (at = FindTag(sText, "policy", at, sText.size())) != std::string::npos; ++at) {
    const Attributes policy = ReadAttributes(sText, at);
    if (policy.count("name") == 0 || policy.at("name") != sName) continue;
    const size_t end = std::min(sText.find("</policy>", at), sText.find("<policy", at + 1));
    PolicyPlace place;
    const std::string sClass = policy.count("class") ? policy.at("class") : "";
    if (sClass == "Machine" || sClass == "Both") place.roots.push_back(HKEY_LOCAL_MACHINE);
    if (sClass == "User" || sClass == "Both") place.roots.push_back(HKEY_CURRENT_USER);
    if (policy.count("key")) place.sKey = FromUtf8(policy.at("key"));
    if (policy.count("valueName")) place.sValueName = FromUtf8(policy.at("valueName"));
    const size_t elements = FindTag(sText, "elements", at, end);
    if (elements != std::string::npos) {
      // The first element of the policy: its value is the setting.
      const size_t element = sText.find('<', sText.find('>', elements));
      const Attributes setting = ReadAttributes(sText, element);
      if (setting.count("key")) place.sKey = FromUtf8(setting.at("key"));
      if (setting.count("valueName")) place.sValueName = FromUtf8(setting.at("valueName"));
    }
    place.vEnabled = DecimalIn(sText, "enabledValue", at, end);
    place.vDisabled = DecimalIn(sText, "disabledValue", at, end);
    if (place.roots.empty() || place.sKey.empty() || place.sValueName.empty())
      throw std::runtime_error("the policy template's policy " + sName + " lacks a class, a key or a value name");
    return place;
  }
  throw std::runtime_error("the policy template has no policy " + sName);
}

}  // namespace e2e
