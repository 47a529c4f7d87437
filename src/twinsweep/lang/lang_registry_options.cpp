// CRegistryLangOptions: the language options of a product's registry key, read
// and written through the system's registry service.
#include <vector>

#include "twinsweep/base/error_log.h"
#include "twinsweep/base/name_rules.h"
#include "twinsweep/lang/lang_options.h"
#include "twinsweep/platform/registry.h"
#include "twinsweep/platform/scoped_handle.h"

namespace twinsweep {

namespace {

// The text value of one scope: empty when the key or the value is missing, is no
// text, or cannot be read.
std::u16string ReadText(int32_t nRoot, const std::u16string& sKeyPath, const std::u16string& sName) {
  platform::IRegistry& oRegistry = platform::Registry();
  platform::ScopedKey hKey;
  if (oRegistry.OpenKey(platform::RootKey(nRoot), sKeyPath, platform::kKeyRead, hKey.Receive()) !=
      platform::kErrorSuccess)
    return u"";
  uint32_t nType = 0, nSize = 0;
  if (oRegistry.QueryValue(hKey.Get(), sName, &nType, nullptr, &nSize) != platform::kErrorSuccess) return u"";
  if (nType != platform::kRegSz && nType != platform::kRegExpandSz) return u"";
  std::vector<uint8_t> abData(nSize + sizeof(char16_t), 0);
  if (oRegistry.QueryValue(hKey.Get(), sName, &nType, abData.data(), &nSize) != platform::kErrorSuccess) return u"";
  std::u16string s(nSize / sizeof(char16_t), u'\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char16_t>(abData[2 * i] | (abData[2 * i + 1] << 8));
  // The text ends at its first NUL, as the system's own string reads end there.
  const size_t nNul = s.find(u'\0');
  if (nNul != std::u16string::npos) s.resize(nNul);
  return s;
}

}  // namespace

std::u16string CRegistryLangOptions::Read(const std::u16string& sName) {
  std::u16string s = ReadText(platform::kRootCurrentUser, sKeyPath_, sName);
  return s.empty() ? ReadText(platform::kRootLocalMachine, sKeyPath_, sName) : s;
}

void CRegistryLangOptions::Write(const std::u16string& sName, const std::u16string& sValue) {
  platform::IRegistry& oRegistry = platform::Registry();
  platform::ScopedKey hKey;
  int32_t nStatus = oRegistry.CreateKey(platform::RootKey(platform::kRootCurrentUser), sKeyPath_, platform::kKeyWrite,
                                        hKey.Receive());
  if (nStatus == platform::kErrorSuccess) {
    std::vector<uint8_t> abData;
    abData.reserve((sValue.size() + 1) * 2);
    for (char16_t c : sValue + u'\0') {
      abData.push_back(static_cast<uint8_t>(c & 0xFF));
      abData.push_back(static_cast<uint8_t>(c >> 8));
    }
    nStatus =
        oRegistry.SetValue(hKey.Get(), sName, platform::kRegSz, abData.data(), static_cast<uint32_t>(abData.size()));
  }
  if (nStatus != platform::kErrorSuccess)
    mMain::LogError(u"CRegistryLangOptions.Write", nStatus, u"cannot write '" + sName + u"' under HKCU\\" + sKeyPath_);
}

std::u16string CRegistryLangOptions::LangID() { return Read(u"LANG"); }

void CRegistryLangOptions::LangID(const std::u16string& sValue) { Write(u"LANG", sValue); }

std::u16string CRegistryLangOptions::LangFile() {
  const std::u16string s = Read(u"LANG_");
  return base::IsPlainFileName(s) ? s : u"";
}

void CRegistryLangOptions::LangFile(const std::u16string& sValue) { Write(u"LANG_", sValue); }

}  // namespace twinsweep
