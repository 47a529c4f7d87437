#include "twinsweep/base/date.h"

#include <cmath>
#include <cstdio>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"

namespace twinsweep {

namespace base {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (any month/day in range).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int32_t& y, int32_t& m, int32_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int32_t>(yoe + era * 400 + (m <= 2));
}

const int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);
const int64_t kFirstDay = DaysFromCivil(100, 1, 1) - kOleEpoch;
const int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kOleEpoch;

// Serial day (days since the OLE epoch) of a date whose month and day may carry.
int64_t SerialDay(int64_t nYear, int64_t nMonth, int64_t nDay) {
  int64_t m0 = nMonth - 1;
  int64_t carry = m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12);
  nYear += carry;
  m0 -= carry * 12;
  return DaysFromCivil(nYear, m0 + 1, 1) + (nDay - 1) - kOleEpoch;
}

// An OLE date keeps the day as the signed integer part and the time of day as
// the unsigned fraction, also before the epoch.
Date FromSeconds(int64_t nTotalSeconds) {
  int64_t day = nTotalSeconds >= 0 ? nTotalSeconds / 86400 : -((-nTotalSeconds + 86399) / 86400);
  int64_t secs = nTotalSeconds - day * 86400;
  if (day < kFirstDay || day > kLastDay) Raise(kOverflow);
  double frac = static_cast<double>(secs) / 86400.0;
  return Date{day >= 0 ? static_cast<double>(day) + frac : static_cast<double>(day) - frac};
}

}  // namespace

Date DateSerial(int32_t nYear, int32_t nMonth, int32_t nDay) {
  return FromSeconds(SerialDay(nYear, nMonth, nDay) * 86400);
}

Date TimeSerial(int32_t nHour, int32_t nMinute, int32_t nSecond) {
  int64_t secs = int64_t{nHour} * 3600 + int64_t{nMinute} * 60 + nSecond;
  return Date{static_cast<double>(secs) / 86400.0};
}

Date MakeDate(const DateParts& p) {
  int64_t secs = int64_t{p.nHour} * 3600 + int64_t{p.nMinute} * 60 + p.nSecond;
  return FromSeconds(SerialDay(p.nYear, p.nMonth, p.nDay) * 86400 + secs);
}

DateParts SplitDate(Date dt) {
  // A Date can hold any double (a Variant takes whatever it is given); one outside
  // the valid days, NaN included, is a bad value like an integer out of range, and
  // must fail before it is converted to whole days.
  if (!(dt.dValue > static_cast<double>(kFirstDay - 1) && dt.dValue < static_cast<double>(kLastDay + 1))) {
    Raise(kOverflow);
  }
  double whole = std::trunc(dt.dValue);
  int64_t day = static_cast<int64_t>(whole);
  int64_t secs = std::llround(std::fabs(dt.dValue - whole) * 86400.0);
  if (secs >= 86400) {
    secs -= 86400;
    day += dt.dValue >= 0 ? 1 : -1;
  }
  // The last second of 9999-12-31 rounds up into a year the texts cannot show.
  if (day < kFirstDay || day > kLastDay) Raise(kOverflow);
  DateParts p;
  CivilFromDays(day + kOleEpoch, p.nYear, p.nMonth, p.nDay);
  p.nHour = static_cast<int32_t>(secs / 3600);
  p.nMinute = static_cast<int32_t>(secs / 60 % 60);
  p.nSecond = static_cast<int32_t>(secs % 60);
  return p;
}

namespace {
std::u16string Format(Date dt, const char* pattern) {
  DateParts p = SplitDate(dt);
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, p.nYear, p.nMonth, p.nDay, p.nHour, p.nMinute, p.nSecond);
  return FromAscii(buf);
}
}  // namespace

std::u16string FormatRegistryDate(Date dt) { return Format(dt, "%04d.%02d.%02d %02d:%02d:%02d"); }
std::u16string FormatDateText(Date dt) { return Format(dt, "%04d-%02d-%02d %02d:%02d:%02d"); }

}  // namespace base

}  // namespace twinsweep
