# write_result_xml(PATH SUITE CASE PROBLEMS...): a one-case report in the test
# framework's XML format for a check written as a CMake script, so that scripts/test
# counts it with the other tests; the case fails when PROBLEMS is not empty.
function(write_result_xml path suite case)
  set(problems ${ARGN})
  set(failures 0)
  set(body "")
  if(problems)
    set(failures 1)
    string(REPLACE ";" "; " text "${problems}")
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(body "<failure message=\"${text}\" type=\"\"/>")
  endif()
  file(WRITE "${path}"
"<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<testsuites tests=\"1\" failures=\"${failures}\" disabled=\"0\" errors=\"0\" name=\"AllTests\">
  <testsuite name=\"${suite}\" tests=\"1\" failures=\"${failures}\" disabled=\"0\" skipped=\"0\" errors=\"0\">
    <testcase name=\"${case}\" status=\"run\" result=\"completed\" classname=\"${suite}\">${body}</testcase>
  </testsuite>
</testsuites>
")
endfunction()
