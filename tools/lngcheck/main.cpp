// lngcheck's entry: the arguments in, the findings (or the pseudo file's bytes)
// out, byte for byte.
#include <cstdio>
#include <string>
#include <vector>

#include "twinsweep/base/text.h"
#include "lngcheck.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace twinsweep;

namespace {

int RunAndPrint(const std::vector<std::u16string>& args) {
  std::string sOut, sErr;
  const int nStatus = lngcheck::Run(args, &sOut, &sErr);
  // The findings reach the pipe before the count: stdout is buffered when it is
  // a pipe and stderr is not, so one pipe for both would show the count first.
  std::fwrite(sOut.data(), 1, sOut.size(), stdout);
  std::fflush(stdout);
  std::fwrite(sErr.data(), 1, sErr.size(), stderr);
  std::fflush(stderr);
  return nStatus;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // The pseudo file ends its lines with CR LF itself; text mode would double the CR.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return RunAndPrint(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.push_back(base::FromUtf8(argv[i]));
  return RunAndPrint(args);
}
#endif
