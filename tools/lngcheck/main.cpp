// lngcheck's entry: the arguments in, the findings (or the pseudo file's bytes)
// out, byte for byte.
#include "main.h"

#include <cstdio>

#include "lngcheck.h"

namespace lngcheck {

int RunAndPrint(const std::vector<std::u16string>& args) {
  std::string sOut, sErr;
  const int nStatus = Run(args, &sOut, &sErr);
  // The findings reach the pipe before the count: stdout is buffered when it is
  // a pipe and stderr is not, so one pipe for both would show the count first.
  std::fwrite(sOut.data(), 1, sOut.size(), stdout);
  std::fflush(stdout);
  std::fwrite(sErr.data(), 1, sErr.size(), stderr);
  std::fflush(stderr);
  return nStatus;
}

}  // namespace lngcheck
