# One language file through the PO round trip with the real program:
#   cmake -DLNGCHECK=... -DMSGFMT=... -DREF=... -DFILE=... -DMAIN=... -DWORK=... -P po_round_trip.cmake
# --to-po writes a PO file that msgfmt -c accepts; --from-po with the file as its
# base gives back the same bytes.
if(NOT MSGFMT)
  message(FATAL_ERROR "msgfmt (gettext) was not found when the tree was configured: run scripts/bootstrap")
endif()
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(name "${FILE}" NAME_WE)
set(po "${WORK}/${name}.po")
set(back "${WORK}/${name}.lng")
execute_process(COMMAND "${LNGCHECK}" --to-po "${REF}" "${FILE}" "${MAIN}" OUTPUT_FILE "${po}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lngcheck --to-po failed (${rc})")
endif()
execute_process(COMMAND "${MSGFMT}" -c -o /dev/null "${po}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "msgfmt -c refuses ${po}:\n${err}")
endif()
execute_process(COMMAND "${LNGCHECK}" --from-po "${po}" "${REF}" --base "${FILE}" "${MAIN}" OUTPUT_FILE "${back}"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lngcheck --from-po failed (${rc}):\n${err}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${FILE}" "${back}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${back} differs from ${FILE}")
endif()
message(STATUS "${FILE}: msgfmt -c passes, the round trip gives back the same bytes")
