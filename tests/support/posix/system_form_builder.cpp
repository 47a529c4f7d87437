// The native build's window framework is the in-memory one.
#include "support/form_builder.h"

namespace testing_support {

std::unique_ptr<IFormBuilder> SystemFormBuilder() { return MemoryFormBuilder(); }

}  // namespace testing_support
