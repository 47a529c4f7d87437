// CWinReg: opening, closing, and the string values the rest of the program reads
// and writes. Strings are stored as the registry's own UTF-16 text with one
// terminating NUL, so that every other reader of the key sees ordinary strings.
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace {
platform::IRegistry& Reg() { return platform::Registry(); }
}  // namespace

bool CWinReg::InitForRead(int32_t nRootKey, const std::u16string& strSubKey) {
  return InitForAccess(nRootKey, strSubKey, platform::kKeyRead, false);
}

bool CWinReg::InitForReadView(int32_t nRootKey, const std::u16string& strSubKey, uint32_t nView) {
  return InitForAccess(nRootKey, strSubKey, platform::kKeyRead | nView, false);
}

bool CWinReg::InitForWrite(int32_t nRootKey, const std::u16string& strSubKey, bool bCreate) {
  return InitForAccess(nRootKey, strSubKey, platform::kKeyRead | platform::kKeyWrite, bCreate);
}

bool CWinReg::InitForAllAccess(int32_t nRootKey, const std::u16string& strSubKey, bool bCreate) {
  return InitForAccess(nRootKey, strSubKey, platform::kKeyAllAccess, bCreate);
}

bool CWinReg::InitForAccess(int32_t nRootKey, const std::u16string& strSubKey, uint32_t nAccess, bool bCreate) {
  return InitForAccessHandle(platform::RootKey(nRootKey), strSubKey, nAccess, bCreate);
}

bool CWinReg::InitForAccessHandle(platform::HKey hRoot, const std::u16string& strSubKey, uint32_t nAccess,
                                  bool bCreate) {
  platform::HKey h = 0;
  int32_t rc = bCreate ? Reg().CreateKey(hRoot, strSubKey, nAccess, &h) : Reg().OpenKey(hRoot, strSubKey, nAccess, &h);
  // A key held from an earlier open is closed here rather than lost.
  hKey.Reset(rc == platform::kErrorSuccess ? h : 0);
  return rc == platform::kErrorSuccess;
}

bool CWinReg::CloseKey() {
  if (!hKey.IsValid()) return true;
  // The object lets go of the key whatever the close answers.
  return Reg().CloseKey(hKey.Take()) == platform::kErrorSuccess;
}

bool CWinReg::WriteString(const std::u16string& sName, const std::u16string& sValue) {
  if (!hKey.IsValid()) return false;
  // The text and its terminating NUL: an empty text is an empty string value.
  const uint8_t* data = reinterpret_cast<const uint8_t*>(sValue.c_str());
  uint32_t size = static_cast<uint32_t>((sValue.size() + 1) * sizeof(char16_t));
  return Reg().SetValue(hKey.Get(), sName, platform::kRegSz, data, size) == platform::kErrorSuccess;
}

std::u16string CWinReg::ReadString(const std::u16string& sName) {
  if (!hKey.IsValid()) return u"";
  std::vector<uint8_t> buffer(256, 0);
  uint32_t nType = 0;
  uint32_t nSize = static_cast<uint32_t>(buffer.size());
  int32_t rc = Reg().QueryValue(hKey.Get(), sName, &nType, buffer.data(), &nSize);
  if (rc == platform::kErrorMoreData) {
    // One more attempt with the size the registry asked for; a value that grew
    // again in between reads as empty.
    buffer.assign(nSize, 0);
    rc = Reg().QueryValue(hKey.Get(), sName, &nType, buffer.data(), &nSize);
  }
  if (rc != platform::kErrorSuccess || (nType != platform::kRegSz && nType != platform::kRegExpandSz) || nSize == 0)
    return u"";
  size_t nChars = nSize / sizeof(char16_t);
  std::u16string s(nChars, u'\0');
  for (size_t i = 0; i < nChars; ++i) s[i] = static_cast<char16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
  // The text ends at its first NUL, as the system's own string readers end it: a
  // value stored without one keeps its last character, and whatever a value holds
  // after an inner NUL never reaches a caller that builds a name from it.
  const size_t nEnd = s.find(u'\0');
  if (nEnd != std::u16string::npos) s.resize(nEnd);
  return s;
}

}  // namespace twinsweep
