#pragma once
// lngcheck's entry, shared by the systems' main functions (main_win32.cpp,
// main_posix.cpp), which only turn the command line into UTF-16.
#include <string>
#include <vector>

namespace lngcheck {

// Runs lngcheck on the arguments (the program's name first) and writes its
// output, byte for byte; answers the exit status.
int RunAndPrint(const std::vector<std::u16string>& args);

}  // namespace lngcheck
