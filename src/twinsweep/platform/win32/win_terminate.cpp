// The executable's terminate handler. The standard library's default one writes the
// uncaught exception's demangled type name to the standard error stream, which a
// GUI program does not have, and brings the whole demangler into the executable
// (a third of its code). Main handles every failure, so reaching terminate means a
// broken invariant: the process ends at once, as the default handler ends it too.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
