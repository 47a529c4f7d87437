# Read by ctest (through the include file that twinsweep_add_gtest writes): lists the
# cases of one GoogleTest program, once per build of it, and adds a test per case that
# reads the case's outcome that the program's one run (GTEST_RUN, its fixture) wrote
# (scripts/lib/gtest_report.py).
if(NOT EXISTS "${GTEST_PROGRAM}")
  return()  # not built: the run fails and says so
endif()
if(NOT EXISTS "${GTEST_LIST}" OR "${GTEST_PROGRAM}" IS_NEWER_THAN "${GTEST_LIST}")
  execute_process(COMMAND ${GTEST_EMULATOR} "${GTEST_PROGRAM}" ${GTEST_FILTER} --gtest_list_tests
                  WORKING_DIRECTORY "${GTEST_WORKING_DIRECTORY}" OUTPUT_VARIABLE listing RESULT_VARIABLE listed
                  TIMEOUT 120)
  if(NOT listed EQUAL 0)
    # Its cases cannot be counted: a test that fails says so.
    add_test("${GTEST_RUN}:cases-not-listed" "${GTEST_CMAKE}" -E false)
    return()
  endif()
  # "Suite." lines, each followed by its "  Case" lines; a parameter's value after "#".
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" listing "${listing}")
  set(cases)
  foreach(line IN LISTS listing)
    string(REGEX REPLACE " *#.*" "" line "${line}")
    if(line MATCHES "^([^ ].*)\\.$")
      set(suite "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  ([^ ]+)$")
      list(APPEND cases "${suite}.${CMAKE_MATCH_1}")
    endif()
  endforeach()
  file(WRITE "${GTEST_LIST}" "${cases}")
endif()
file(READ "${GTEST_LIST}" cases)
foreach(case IN LISTS cases)
  string(REPLACE "/" "~" file "${case}")
  add_test("${GTEST_RUN}:${case}" "${GTEST_CMAKE}" -E cat "${GTEST_REPORT}.cases/${file}")
  set_tests_properties("${GTEST_RUN}:${case}" PROPERTIES FIXTURES_REQUIRED "${GTEST_RUN}" LABELS "${GTEST_LABELS}"
                       PASS_REGULAR_EXPRESSION "^passed" SKIP_REGULAR_EXPRESSION "^skipped")
endforeach()
