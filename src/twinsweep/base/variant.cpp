#include "twinsweep/base/variant.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"

namespace twinsweep {

namespace base {

int32_t VarType(const Variant& v) {
  switch (v.GetKind()) {
    case Variant::Kind::Empty: return 0;
    case Variant::Kind::Null: return 1;
    case Variant::Kind::Long: return 3;
    case Variant::Kind::Double: return 5;
    case Variant::Kind::Date: return 7;
    case Variant::Kind::String: return 8;
    case Variant::Kind::Bool: return 11;
    case Variant::Kind::List: return 8204;
  }
  return 0;
}

std::u16string TypeName(const Variant& v) {
  switch (v.GetKind()) {
    case Variant::Kind::Empty: return u"Empty";
    case Variant::Kind::Null: return u"Null";
    case Variant::Kind::Long: return u"Long";
    case Variant::Kind::Double: return u"Double";
    case Variant::Kind::Date: return u"Date";
    case Variant::Kind::String: return u"String";
    case Variant::Kind::Bool: return u"Boolean";
    case Variant::Kind::List: return u"Variant()";
  }
  return u"";
}

bool IsNumeric(const Variant& v) {
  switch (v.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Long:
    case Variant::Kind::Double:
    case Variant::Kind::Bool: return true;
    case Variant::Kind::String: return ParseNumber(v.AsText()).has_value();
    default: return false;
  }
}

std::u16string CStr(const Variant& v) {
  switch (v.GetKind()) {
    case Variant::Kind::Empty: return u"";
    case Variant::Kind::Null: Raise(kInvalidUseOfNull);
    case Variant::Kind::Bool: return v.AsBool() ? u"True" : u"False";
    case Variant::Kind::Long: return LongToText(v.AsLong());
    case Variant::Kind::Double: return DoubleToText(v.AsDouble());
    case Variant::Kind::Date: return FormatDateText(v.AsDate());
    case Variant::Kind::String: return v.AsText();
    case Variant::Kind::List: Raise(kTypeMismatch);
  }
  return u"";
}

int32_t CLng(const Variant& v) {
  switch (v.GetKind()) {
    case Variant::Kind::Empty: return 0;
    case Variant::Kind::Null: Raise(kInvalidUseOfNull);
    case Variant::Kind::Bool: return v.AsBool() ? -1 : 0;
    case Variant::Kind::Long: return v.AsLong();
    case Variant::Kind::Double: return ToLong(v.AsDouble());
    case Variant::Kind::Date: return ToLong(v.AsDate().dValue);
    case Variant::Kind::String: return TextToLong(v.AsText());
    case Variant::Kind::List: Raise(kTypeMismatch);
  }
  return 0;
}

}  // namespace base

}  // namespace twinsweep
