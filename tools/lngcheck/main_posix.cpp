// lngcheck's main function elsewhere: the arguments are UTF-8.
#include "main.h"
#include "twinsweep/base/text.h"

int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 0; i < argc; ++i) args.push_back(twinsweep::base::FromUtf8(argv[i]));
  return lngcheck::RunAndPrint(args);
}
