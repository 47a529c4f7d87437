# twinsweep_add_gtest(NAME TARGET [FILTER PATTERN] [WORKING_DIRECTORY DIR] [LABELS ...]
#                     [EMULATOR COMMAND...] [PROPERTIES ...])
# A GoogleTest program as tests: NAME runs TARGET once (under the tree's emulator, with
# the filter) and writes its report to the results folder; each case it lists is a
# test "NAME:Suite.Case" of its own that reads its outcome from that run
# (scripts/lib/gtest_report.py), so that ctest counts every case. The cases are listed
# when ctest reads the tree (cmake/gtest_cases_list.cmake), again whenever the program
# is newer than the list. EMULATOR runs the program instead of the tree's emulator (a
# Wine prefix of its own); PROPERTIES are the run's test properties.
function(twinsweep_add_gtest name target)
  cmake_parse_arguments(ARG "" "FILTER;WORKING_DIRECTORY" "LABELS;EMULATOR;PROPERTIES" ${ARGN})
  if(NOT ARG_EMULATOR)
    set(ARG_EMULATOR ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  set(report "${TWINSWEEP_RESULTS_DIR}/${name}.xml")
  # Relative to the working folder: under Windows the test framework takes a path
  # starting with "/" for a relative one.
  file(RELATIVE_PATH report_arg "${ARG_WORKING_DIRECTORY}" "${report}")
  set(filter)
  if(ARG_FILTER)
    set(filter "--gtest_filter=${ARG_FILTER}")
  endif()
  add_test(NAME ${name}
           COMMAND "${Python3_EXECUTABLE}" "${CMAKE_SOURCE_DIR}/scripts/lib/gtest_report.py" run "${report}"
                   ${ARG_EMULATOR} $<TARGET_FILE:${target}> ${filter}
                   "--gtest_output=xml:${report_arg}"
           WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}")
  set_tests_properties(${name} PROPERTIES FIXTURES_SETUP ${name} LABELS "${ARG_LABELS}" ${ARG_PROPERTIES})
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_cases_include.cmake")
  file(GENERATE OUTPUT "${include_file}" CONTENT "set(GTEST_RUN \"${name}\")
set(GTEST_PROGRAM \"$<TARGET_FILE:${target}>\")
set(GTEST_EMULATOR \"${CMAKE_CROSSCOMPILING_EMULATOR}\")
set(GTEST_FILTER \"${filter}\")
set(GTEST_WORKING_DIRECTORY \"${ARG_WORKING_DIRECTORY}\")
set(GTEST_REPORT \"${report}\")
set(GTEST_LABELS \"${ARG_LABELS}\")
set(GTEST_LIST \"${CMAKE_CURRENT_BINARY_DIR}/${name}_cases.txt\")
set(GTEST_CMAKE \"${CMAKE_COMMAND}\")
include(\"${CMAKE_SOURCE_DIR}/cmake/gtest_cases_list.cmake\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
