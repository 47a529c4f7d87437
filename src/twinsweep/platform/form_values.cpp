#include "twinsweep/platform/form_values.h"

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"

namespace twinsweep {

namespace platform {

double PropertyNumber(const base::Variant& v) {
  switch (v.GetKind()) {
    case base::Variant::Kind::Empty: return 0;
    case base::Variant::Kind::Bool: return v.AsBool() ? -1 : 0;
    case base::Variant::Kind::Long: return v.AsLong();
    case base::Variant::Kind::Double: return v.AsDouble();
    case base::Variant::Kind::Date: return v.AsDate().dValue;
    case base::Variant::Kind::String: {
      auto d = base::ParseNumber(v.AsText());
      if (!d) base::Raise(base::kTypeMismatch);
      return *d;
    }
    case base::Variant::Kind::Null: base::Raise(base::kInvalidUseOfNull);
    case base::Variant::Kind::List: break;
  }
  base::Raise(base::kTypeMismatch);
}

}  // namespace platform

}  // namespace twinsweep
