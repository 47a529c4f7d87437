#pragma once
// The process's environment variables, as the system expands them in a text.
#include <string>
#include <string_view>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IEnvironment {
 public:
  virtual ~IEnvironment() = default;
  // ExpandEnvironmentStringsW: each "%NAME%" of a defined variable replaced by its
  // value, as the system expands a REG_EXPAND_SZ value; the text unchanged when
  // it cannot be expanded.
  virtual std::u16string ExpandEnvironment(std::u16string_view sText) = 0;
};

template <>
IEnvironment& Default<IEnvironment>();
inline IEnvironment& Environment() { return Get<IEnvironment>(); }

}  // namespace platform

}  // namespace twinsweep
