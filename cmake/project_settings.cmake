# The build of this project on its own: both trees' compiler settings, which
# apply to every target of the project (engine, launcher, tests, tools). A
# project that adds this one with add_subdirectory() keeps its own settings.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(TWINSWEEP_SANITIZE "Build the native tree with ASan and UBSan (scripts/test turns it on)" OFF)
option(TWINSWEEP_BENCH "Build the benchmarks (native)" OFF)
option(TWINSWEEP_FUZZ "Build the libFuzzer targets (native, clang)" OFF)

add_compile_options(-Wall -Wextra)
include(${CMAKE_CURRENT_LIST_DIR}/reproducible.cmake)
set(TWINSWEEP_RESULTS_DIR "${CMAKE_BINARY_DIR}/test-results")
file(MAKE_DIRECTORY "${TWINSWEEP_RESULTS_DIR}")

if(WIN32)
  # Test programs run under Wine, each tree with a private prefix made on first use.
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/cmake/wine-run;${CMAKE_BINARY_DIR}/wineprefix")
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Our programs import only DLLs every Windows has: the compiler's runtime
  # (libgcc, libstdc++ and the threads library under it) is linked in. Only
  # -static keeps the threads library out: taking it whole from its archive
  # instead would bring its own version resource. The system's import libraries
  # are archives too, so the programs still import kernel32 and the rest.
  add_link_options(-static -static-libgcc -static-libstdc++)
elseif(TWINSWEEP_FUZZ)
  # Coverage for the fuzzers over the whole core, with the sanitizers.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(TWINSWEEP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
