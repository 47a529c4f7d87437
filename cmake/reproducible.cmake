# Reproducible bytes: two builds of one commit, in different folders and at
# different times, give the same program files.
#
# - Paths: the source and build folders are written into the objects (debugging
#   information, __FILE__) as fixed names.
# - Time: the PE header's time stamp is taken from SOURCE_DATE_EPOCH, which both
#   the linker and objcopy read from their environment. It is the environment's
#   when set (scripts/package sets it), else the time of the commit checked out.
#   Linking and every objcopy run get it through TWINSWEEP_BUILD_ENV, so that a
#   tree built without it in the shell (scripts/test) links the same bytes.
#   The value is found anew at each configure: scripts/package configures before
#   it builds, so a new commit relinks.
add_compile_options(
  "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=twinsweep/"
  "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=twinsweep-build/")

set(TWINSWEEP_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(TWINSWEEP_SOURCE_DATE_EPOCH STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
      WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
      OUTPUT_VARIABLE TWINSWEEP_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET RESULT_VARIABLE git_rc)
    if(NOT git_rc EQUAL 0)
      set(TWINSWEEP_SOURCE_DATE_EPOCH "")
    endif()
  endif()
endif()

set(TWINSWEEP_BUILD_ENV)
if(TWINSWEEP_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  set(TWINSWEEP_BUILD_ENV "${CMAKE_COMMAND}" -E env "SOURCE_DATE_EPOCH=${TWINSWEEP_SOURCE_DATE_EPOCH}")
  set(CMAKE_C_LINKER_LAUNCHER ${TWINSWEEP_BUILD_ENV})
  set(CMAKE_CXX_LINKER_LAUNCHER ${TWINSWEEP_BUILD_ENV})
else()
  message(STATUS "No SOURCE_DATE_EPOCH and no commit: the program's time stamp is the build's")
endif()
