#pragma once
// Date: the program's local date and time, whole seconds.
//
// Held as the OLE Automation date (days since 1899-12-30, the time as the
// fraction), as the product's date type is, so that arithmetic and carries
// (month 13, hour 25) behave as users of the product's dates expect. The valid
// range is 1 January 100 to 31 December 9999; building a date outside it fails
// with Overflow (6).
#include <cstdint>
#include <string>

namespace twinsweep {

namespace base {

/// A local date and time, whole seconds, as an OLE Automation date.
struct Date {
  double dValue = 0.0;  ///< days since 1899-12-30 00:00:00 (0, the "no date" value), the time as the fraction
  friend bool operator==(Date a, Date b) { return a.dValue == b.dValue; }  ///< Same moment.
  friend bool operator!=(Date a, Date b) { return a.dValue != b.dValue; }  ///< Other moments.
  friend bool operator<(Date a, Date b) { return a.dValue < b.dValue; }    ///< a before b.
  friend bool operator>(Date a, Date b) { return a.dValue > b.dValue; }    ///< a after b.
};

/// Calendar fields of a date.
struct DateParts {
  int32_t nYear = 1899;  ///< 100 to 9999
  int32_t nMonth = 12;   ///< 1 to 12
  int32_t nDay = 30;     ///< 1 to 31
  int32_t nHour = 0;     ///< 0 to 23
  int32_t nMinute = 0;   ///< 0 to 59
  int32_t nSecond = 0;   ///< 0 to 59
};

/// The date of year, month and day; a month or day beyond its range carries into the
/// next larger unit (month 13 is January of the next year, day 0 the last of the
/// month before). Years 0 to 99 are taken literally (there is no century window).
Date DateSerial(int32_t nYear, int32_t nMonth, int32_t nDay);
/// The time of day as a fraction of days; values beyond range carry (25 h = 1 day 1 h).
Date TimeSerial(int32_t nHour, int32_t nMinute, int32_t nSecond);
/// DateSerial plus TimeSerial, checked against the valid range.
Date MakeDate(const DateParts& parts);
/// The calendar fields; a value outside the valid range (NaN included) fails with
/// Overflow (6), and so do the two texts below.
DateParts SplitDate(Date dt);
/// "yyyy.mm.dd hh:mm:ss" as the registry stores dates (four-digit year, zero-padded).
std::u16string FormatRegistryDate(Date dt);
/// "yyyy-mm-dd hh:mm:ss", the text form of a date value.
std::u16string FormatDateText(Date dt);

}  // namespace base

}  // namespace twinsweep
