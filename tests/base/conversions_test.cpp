// The run-time rules the program's conversions keep: rounding, overflow, text
// forms, dates with their carries, case folding and the keyed collection.
#include <gtest/gtest.h>

#include <cmath>

#include "twinsweep/base/collection.h"
#include "twinsweep/base/convert.h"
#include "twinsweep/base/date.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/variant.h"

using namespace twinsweep;

namespace {

using base::Variant;

int32_t FailureNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const base::Failure& e) {
    return e.Number();
  }
  return 0;
}

TEST(Conversions, CLngRoundsHalvesToEvenAndFailsOnOverflowAndNonNumbers) {
  struct Case {
    Variant v;
    int32_t nExpected;
    int32_t nFailure;
  } cases[] = {
      {2.5, 2, 0},           {3.5, 4, 0},          {-2.5, -2, 0},        {Variant(u"12"), 12, 0},
      {Variant(u" 7 "), 7, 0}, {Variant(u"2.5"), 2, 0}, {true, -1, 0},       {Variant(), 0, 0},
      {Variant(u"&HFF"), 255, 0}, {2147483647.4, 2147483647, 0}, {2147483647.5, 0, 6}, {-2147483648.5, -2147483648, 0},
      {Variant(u"abc"), 0, 13}, {Variant(u""), 0, 13}, {Variant::Null(), 0, 94},
      {Variant(base::VariantList{}), 0, 13},
  };
  for (const auto& c : cases) {
    int32_t n = 0;
    int32_t nFailure = FailureNumber([&] { n = base::CLng(c.v); });
    EXPECT_EQ(nFailure, c.nFailure) << base::ToUtf8(base::TypeName(c.v));
    if (!c.nFailure) {
      EXPECT_EQ(n, c.nExpected);
    }
  }
}

TEST(Conversions, TextFormsAndTypeNames) {
  EXPECT_EQ(base::CStr(Variant(3)), u"3");
  EXPECT_EQ(base::CStr(Variant(2.5)), u"2.5");
  EXPECT_EQ(base::CStr(Variant(1e20)), u"1E+20");
  EXPECT_EQ(base::CStr(Variant(1.5e-7)), u"1.5E-07");
  EXPECT_EQ(base::CStr(Variant(true)), u"True");
  EXPECT_EQ(base::CStr(Variant(false)), u"False");
  EXPECT_EQ(base::CStr(Variant(base::DateSerial(2024, 3, 7))), u"2024-03-07 00:00:00");
  EXPECT_EQ(FailureNumber([] { base::CStr(Variant::Null()); }), 94);
  EXPECT_EQ(base::VarType(Variant(u"x")), 8);
  EXPECT_EQ(base::TypeName(Variant(base::VariantList{})), u"Variant()");
  EXPECT_EQ(base::VarType(Variant(base::VariantList{})), 8204);
  EXPECT_TRUE(base::IsNumeric(Variant(u"1e3")));
  EXPECT_FALSE(base::IsNumeric(Variant(u"1x")));
}

TEST(Conversions, LeadingNumberReadsOnlyTheStart) {
  struct Case {
    const char16_t* s;
    double d;
  } cases[] = {{u"2.5", 2.5}, {u" 3abc", 3}, {u"yes", 0}, {u"", 0}, {u"-4.5e1x", -45}, {u"1.", 1}};
  for (const auto& c : cases) EXPECT_EQ(base::LeadingNumber(c.s), c.d) << base::ToUtf8(c.s);
}

TEST(Dates, CarriesIntoTheNextUnitAndFormatsForTheRegistry) {
  EXPECT_EQ(base::FormatRegistryDate(base::DateSerial(2024, 13, 1)), u"2025.01.01 00:00:00");
  EXPECT_EQ(base::FormatRegistryDate(base::DateSerial(2024, 3, 0)), u"2024.02.29 00:00:00");
  EXPECT_EQ(base::FormatRegistryDate(base::MakeDate({2024, 3, 7, 25, 0, 0})), u"2024.03.08 01:00:00");
  EXPECT_EQ(base::FormatRegistryDate(base::MakeDate({2024, 3, 7, 14, 5, 9})), u"2024.03.07 14:05:09");
  EXPECT_EQ(base::FormatRegistryDate(base::MakeDate({999, 1, 2, 3, 4, 5})), u"0999.01.02 03:04:05");
  EXPECT_EQ(base::DateSerial(1899, 12, 30).dValue, 0.0);
  EXPECT_EQ(base::DateSerial(2000, 1, 1).dValue, 36526.0);
  // Before the epoch the day is negative and the time of day still counts forward.
  base::DateParts p = base::SplitDate(base::MakeDate({1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(p.nDay, 29);
  EXPECT_EQ(p.nHour, 6);
  EXPECT_EQ(FailureNumber([] { base::DateSerial(10000, 1, 1); }), 6);
  EXPECT_EQ(FailureNumber([] { base::DateSerial(99, 12, 31); }), 6);
}

TEST(Text, CaseFoldingCoversTheProductsScripts) {
  EXPECT_EQ(base::LCase(u"ÄÖÜ ÀÉ Ÿ ŁŚ ΣΑΒ АБВЁ Ｚ"), u"äöü àé ÿ łś σαβ абвё ｚ");
  EXPECT_EQ(base::UCase(u"äöü ß łś σαβ абвё"), u"ÄÖÜ ß ŁŚ ΣΑΒ АБВЁ");
  EXPECT_TRUE(base::EqualsNoCase(u"BuyOnline", u"buyonline"));
  EXPECT_FALSE(base::EqualsNoCase(u"help now", u"help"));
}

TEST(Text, SearchSplitAndReplace) {
  EXPECT_EQ(base::InStr(1, u"abcabc", u"c"), 3);
  EXPECT_EQ(base::InStr(4, u"abcabc", u"c"), 6);
  EXPECT_EQ(base::InStr(7, u"abcabc", u"c"), 0);
  EXPECT_EQ(base::Split(u"a,,b", u",").size(), 3u);
  EXPECT_TRUE(base::Split(u"", u",").empty());
  EXPECT_EQ(base::Replace(u"<X>-<X>", u"<X>", u"DE"), u"DE-DE");
  EXPECT_EQ(base::ToUtf8(base::FromUtf8("\xe6\x97\xa5\xf0\x9f\x98\x80")), "\xe6\x97\xa5\xf0\x9f\x98\x80");
}

TEST(Collection, KeysIgnoreCaseTheFirstAddWinsAndNoneFails) {
  base::Collection<std::u16string> c;
  c.Add(u"one", u"Key");
  EXPECT_EQ(FailureNumber([&] { c.Add(u"two", u"KEY"); }), 457);
  c.Add(u"three");
  c.Add(u"four", u"other");
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(u"key"), u"one");
  EXPECT_EQ(c.Item(2), u"three");
  EXPECT_EQ(FailureNumber([&] { c.Item(u"nope"); }), 5);
  EXPECT_EQ(FailureNumber([&] { c.Item(4); }), 9);
  c.Remove(u"KEY");
  EXPECT_EQ(c.Item(u"other"), u"four");
  EXPECT_EQ(c.Item(1), u"three");
  base::CollectionRef<std::u16string> none;
  EXPECT_EQ(FailureNumber([&] { base::Deref(none).Count(); }), 91);
}

TEST(PendingError, CatchMakesAFailureThePendingErrorAndIgnoreClearsIt) {
  base::ClearPending();
  EXPECT_FALSE(base::Catch([] { base::Raise(13); }));
  EXPECT_EQ(base::Pending().nNumber, 13);
  EXPECT_EQ(base::Pending().sDescription, u"Type mismatch");
  base::Ignore([] { base::Raise(5); });
  EXPECT_FALSE(base::HasPending());
  EXPECT_FALSE(base::Catch([] { throw std::bad_alloc(); }));
  EXPECT_EQ(base::Pending().nNumber, 7);
  base::ClearPending();
}

}  // namespace
