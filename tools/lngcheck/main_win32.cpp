// lngcheck's main function on Windows: the command line as the system gives it, in
// UTF-16, and standard output in binary mode.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "main.h"

int wmain(int argc, wchar_t** argv) {
  // The pseudo file ends its lines with CR LF itself; text mode would double the CR.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return lngcheck::RunAndPrint(args);
}
