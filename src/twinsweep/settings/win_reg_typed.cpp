// CWinReg: values beyond plain strings (raw bytes, numbers, yes/no flags, dates),
// value information, deletion and flushing.
//
// Like the core members, none of these raises: a failure comes back as false, a
// default, or (QueryValueInfo) the system's status code.
#include <cstring>
#include <optional>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace {

constexpr char16_t kYes[] = u"yes";
constexpr char16_t kNo[] = u"no";

// A date or time field as a 16-bit integer, rounded as the product's integer
// conversion rounds; anything else (not a number, out of range) fails.
int32_t DateField(const std::vector<std::u16string>& asFields, size_t nIndex) {
  if (nIndex >= asFields.size()) base::Raise(base::kSubscriptOutOfRange);
  std::optional<double> dNumber = base::ParseNumber(asFields[nIndex]);
  if (!dNumber) base::Raise(base::kTypeMismatch);
  double dRounded = base::RoundHalfEven(*dNumber);
  if (!(dRounded >= -32768.0 && dRounded <= 32767.0)) base::Raise(base::kOverflow);
  return static_cast<int32_t>(dRounded);
}

}  // namespace

bool CWinReg::ReadBinary(const std::u16string& sName, std::vector<uint8_t>& abData) {
  if (!hKey.IsValid()) return false;
  platform::IRegistry& oRegistry = platform::Registry();
  uint32_t nSize = 0;
  int32_t nStatus = oRegistry.QueryValue(hKey.Get(), sName, nullptr, nullptr, &nSize);
  if ((nStatus != platform::kErrorSuccess && nStatus != platform::kErrorMoreData) || nSize == 0) return false;
  abData.assign(nSize, 0);
  return oRegistry.QueryValue(hKey.Get(), sName, nullptr, abData.data(), &nSize) == platform::kErrorSuccess;
}

int32_t CWinReg::QueryValueInfo(const std::u16string& sName, int32_t& nType, int32_t& nSize) {
  nType = 0;
  nSize = 0;
  if (!hKey.IsValid()) return -1;
  uint32_t nQueriedType = 0;
  uint32_t nQueriedSize = 0;
  int32_t nStatus = platform::Registry().QueryValue(hKey.Get(), sName, &nQueriedType, nullptr, &nQueriedSize);
  // The out-values describe a value that exists; after a failure they stay 0
  // whatever the system left in its own out-parameters.
  if (nStatus == platform::kErrorSuccess) {
    nType = static_cast<int32_t>(nQueriedType);
    nSize = static_cast<int32_t>(nQueriedSize);
  }
  return nStatus;
}

bool CWinReg::WriteDWord(const std::u16string& sName, int32_t nValue) {
  if (!hKey.IsValid()) return false;
  uint8_t abValue[4];
  std::memcpy(abValue, &nValue, sizeof abValue);
  return platform::Registry().SetValue(hKey.Get(), sName, platform::kRegDword, abValue, sizeof abValue) ==
         platform::kErrorSuccess;
}

int32_t CWinReg::ReadDWord(const std::u16string& sName, int32_t nDefault) {
  // Without a key the answer is 0, not the default: callers have always seen it so.
  if (!hKey.IsValid()) return 0;
  uint8_t abValue[4] = {0, 0, 0, 0};
  uint32_t nSize = sizeof abValue;
  uint32_t nType = platform::kRegNone;
  int32_t nStatus = platform::Registry().QueryValue(hKey.Get(), sName, &nType, abValue, &nSize);
  if (nStatus != platform::kErrorSuccess || nType != platform::kRegDword) return nDefault;
  int32_t nValue = 0;
  std::memcpy(&nValue, abValue, sizeof nValue);
  return nValue;
}

bool CWinReg::WriteBool(const std::u16string& sName, bool bValue) { return WriteString(sName, bValue ? kYes : kNo); }

bool CWinReg::ReadBool(const std::u16string& sName) { return base::LCase(ReadString(sName)) == kYes; }

bool CWinReg::WriteYesNo(const std::u16string& sName, bool bValue) { return WriteBool(sName, bValue); }

bool CWinReg::ReadYesNo(const std::u16string& sName) { return ReadBool(sName); }

// Dates are stored as "yyyy.mm.dd hh:mm:ss". A year below 1000 is written with
// leading zeros ("0999.01.01 00:00:00") so that every stored date has the same
// width and reads back to the same day.
bool CWinReg::WriteDate(const std::u16string& sName, base::Date dtValue) {
  std::u16string sText;
  bool bFormatted = base::Catch([&] { sText = base::FormatRegistryDate(dtValue); });
  if (!bFormatted) {
    // A value outside the date range has no text; nothing is written.
    base::ClearPending();
    return false;
  }
  return WriteString(sName, sText);
}

// Reading is lenient in the way the product's date arithmetic is: a field beyond
// its range carries into the next unit (2024.13.01 is 1 January 2025, hour 25 is
// 1 o'clock of the next day). A year of 0 to 99 is taken as written, not moved
// into a century: such a date lies before the first valid year (100), so the
// default comes back. WriteDate never writes such a text, and guessing a century
// for a hand-edited value would turn it silently into a different date.
base::Date CWinReg::ReadDate(const std::u16string& sName, base::Date dtDefault) {
  std::u16string sText = ReadString(sName);
  if (sText.empty()) return dtDefault;
  base::Date dtResult = dtDefault;
  base::Ignore([&] {
    std::vector<std::u16string> asParts = base::Split(sText, u" ");
    if (asParts.size() < 2) base::Raise(base::kSubscriptOutOfRange);
    std::vector<std::u16string> asDate = base::Split(asParts[0], u".");
    std::vector<std::u16string> asTime = base::Split(asParts[1], u":");
    base::DateParts oParts;
    oParts.nYear = DateField(asDate, 0);
    oParts.nMonth = DateField(asDate, 1);
    oParts.nDay = DateField(asDate, 2);
    oParts.nHour = DateField(asTime, 0);
    oParts.nMinute = DateField(asTime, 1);
    oParts.nSecond = DateField(asTime, 2);
    dtResult = base::MakeDate(oParts);
  });
  return dtResult;
}

// Without a held key the handle is 0 and the system refuses the call, so these
// three need no test of their own.
bool CWinReg::DeleteValue(const std::u16string& sName) {
  return platform::Registry().DeleteValue(hKey.Get(), sName) == platform::kErrorSuccess;
}

// An empty name names no subkey. The system would take it for the held key
// itself, and DeleteKeyRec would then empty a key opened at a root ("" under
// HKEY_CURRENT_USER is the whole user's tree) before deleting it.
bool CWinReg::DeleteKey(const std::u16string& strSubKey) {
  if (strSubKey.empty()) return false;
  return platform::Registry().DeleteKey(hKey.Get(), strSubKey) == platform::kErrorSuccess;
}

bool CWinReg::FlushKey() { return platform::Registry().FlushKey(hKey.Get()) == platform::kErrorSuccess; }

}  // namespace twinsweep
