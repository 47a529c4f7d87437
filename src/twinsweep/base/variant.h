#pragma once
// Variant: the value type of parameter lists.
//
// A Variant is empty, null, a boolean, a 32-bit integer, a double, a date, a text
// or a list of variants. VarType and TypeName answer as OLE Automation does
// (8 and "String" for a text, 8204 and "Variant()" for a list), because reports
// quote them.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "twinsweep/base/date.h"

namespace twinsweep {

namespace base {

class Variant;
using VariantList = std::vector<Variant>;

/// A value of a parameter list: empty, null, a boolean, a 32-bit integer, a
/// double, a date, a text or a list of variants. A list is shared between copies.
class Variant {
 public:
  /// What the variant holds.
  enum class Kind { Empty, Null, Bool, Long, Double, Date, String, List };
  /// Selects the null constructor.
  struct NullTag {};

  Variant() = default;                                   ///< Empty.
  Variant(NullTag) : v_(NullTag{}) {}                    ///< Null.
  Variant(bool b) : v_(b) {}                             ///< A boolean.
  Variant(int32_t n) : v_(n) {}                          ///< A 32-bit integer.
  Variant(double d) : v_(d) {}                           ///< A double.
  Variant(Date dt) : v_(dt) {}                           ///< A date.
  Variant(std::u16string s) : v_(std::move(s)) {}        ///< A text.
  Variant(const char16_t* s) : v_(std::u16string(s)) {}  ///< A text.
  /// A list of variants.
  Variant(VariantList list) : v_(std::make_shared<VariantList>(std::move(list))) {}
  static Variant Null() { return Variant(NullTag{}); }  ///< Null.

  Kind GetKind() const { return static_cast<Kind>(v_.index()); }  ///< What it holds.
  bool IsText() const { return GetKind() == Kind::String; }       ///< Whether it holds a text.
  bool IsList() const { return GetKind() == Kind::List; }         ///< Whether it holds a list.

  /// The value held; asking for another kind than GetKind() throws std::bad_variant_access.
  bool AsBool() const { return std::get<bool>(v_); }
  int32_t AsLong() const { return std::get<int32_t>(v_); }                                   ///< \copydoc AsBool
  double AsDouble() const { return std::get<double>(v_); }                                   ///< \copydoc AsBool
  Date AsDate() const { return std::get<Date>(v_); }                                         ///< \copydoc AsBool
  const std::u16string& AsText() const { return std::get<std::u16string>(v_); }              ///< \copydoc AsBool
  const VariantList& AsList() const { return *std::get<std::shared_ptr<VariantList>>(v_); }  ///< \copydoc AsBool

 private:
  std::variant<std::monostate, NullTag, bool, int32_t, double, Date, std::u16string, std::shared_ptr<VariantList>> v_;
};

/// OLE Automation variant type number: 0 Empty, 1 Null, 3 Long, 5 Double, 7 Date,
/// 8 String, 11 Boolean, 8204 array of Variant.
int32_t VarType(const Variant& v);
/// "Empty", "Null", "Long", "Double", "Date", "String", "Boolean", "Variant()".
std::u16string TypeName(const Variant& v);
/// True for numbers, booleans, empty, and texts that read wholly as a number.
bool IsNumeric(const Variant& v);
/// Text form: numbers in shortest round-trip decimal, true/false as "True"/"False",
/// dates as "yyyy-mm-dd hh:mm:ss". Null and lists fail (94 and 13).
std::u16string CStr(const Variant& v);
/// 32-bit integer, halves to even; numeric text is parsed. Overflow fails with 6,
/// anything that is not a number with 13, null with 94.
int32_t CLng(const Variant& v);

}  // namespace base

}  // namespace twinsweep
