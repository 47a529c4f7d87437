# Checks the Group Policy template shipped in POLICY_DIR: TwinsweepLauncher.admx and
# the texts <language>/TwinsweepLauncher.adml of each language folder (en-US and
# de-DE at least).
# - Every file is well-formed XML (xmllint --noout).
# - Every $(string.X) and $(presentation.X) that the template uses is defined in
#   each language's texts; a missing one makes the policy editor refuse the file.
# - Every control of a presentation refers to an element of the template.
# - The language policy's suggestions are exactly the languages shipped in
#   LANGUAGES_DIR (their langid), so a language added there is offered too.
#   cmake -DXMLLINT=... -DPOLICY_DIR=... -DLANGUAGES_DIR=... -DPYTHON=... -P check_policy_templates.cmake
cmake_minimum_required(VERSION 3.20)

set(problems)
set(admx "${POLICY_DIR}/TwinsweepLauncher.admx")
file(GLOB admls "${POLICY_DIR}/*/TwinsweepLauncher.adml")
foreach(required en-US de-DE)
  if(NOT EXISTS "${POLICY_DIR}/${required}/TwinsweepLauncher.adml")
    list(APPEND problems "no ${required}/TwinsweepLauncher.adml")
  endif()
endforeach()

# The values of an XPath query's attributes or texts in a file, as a list.
function(xpath_values out file query)
  execute_process(COMMAND "${XMLLINT}" --xpath "${query}" "${file}"
    OUTPUT_VARIABLE found ERROR_QUIET RESULT_VARIABLE rc)
  set(values)
  if(rc EQUAL 0)
    string(REGEX MATCHALL "[^\n]+" lines "${found}")
    foreach(line ${lines})
      string(REGEX REPLACE "^ [A-Za-z]+=\"([^\"]*)\"$" "\\1" value "${line}")
      list(APPEND values "${value}")
    endforeach()
  endif()
  set(${out} "${values}" PARENT_SCOPE)
endfunction()

if(NOT XMLLINT OR NOT EXISTS "${XMLLINT}")
  list(APPEND problems "xmllint was not found (Debian package libxml2-utils)")
elseif(NOT EXISTS "${admx}")
  list(APPEND problems "no ${admx}")
else()
  foreach(f "${admx}" ${admls})
    execute_process(COMMAND "${XMLLINT}" --noout "${f}" ERROR_VARIABLE err RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      list(APPEND problems "${f} is not well-formed: ${err}")
    endif()
  endforeach()

  file(READ "${admx}" admx_text)
  foreach(kind string presentation)
    string(REGEX MATCHALL "\\$\\(${kind}\\.[^)]+\\)" ${kind}_refs "${admx_text}")
    list(REMOVE_DUPLICATES ${kind}_refs)
    if(NOT ${kind}_refs)
      list(APPEND problems "the template references no ${kind}")
    endif()
  endforeach()
  xpath_values(element_ids "${admx}" "//*[local-name()='elements']/*/@id")

  file(GLOB lng_files "${LANGUAGES_DIR}/*.lng")
  set(shipped)
  foreach(lng ${lng_files})
    execute_process(COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/../../scripts/lib/lng.py" field "${lng}" langid
                    OUTPUT_VARIABLE id OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      list(APPEND problems "${lng} has no langid (scripts/lib/lng.py: ${rc})")
    endif()
    list(APPEND shipped "${id}")
  endforeach()
  list(SORT shipped)
  if(NOT shipped)
    list(APPEND problems "no shipped language found in ${LANGUAGES_DIR}")
  endif()

  foreach(adml ${admls})
    get_filename_component(dir "${adml}" DIRECTORY)
    get_filename_component(lang "${dir}" NAME)
    xpath_values(defined_string "${adml}" "//*[local-name()='stringTable']/*[local-name()='string']/@id")
    xpath_values(defined_presentation "${adml}" "//*[local-name()='presentation']/@id")
    foreach(kind string presentation)
      foreach(ref ${${kind}_refs})
        string(REGEX REPLACE "^\\$\\(${kind}\\.(.*)\\)$" "\\1" id "${ref}")
        if(NOT id IN_LIST defined_${kind})
          list(APPEND problems "${lang}: no ${kind} ${id}")
        endif()
      endforeach()
    endforeach()
    xpath_values(controls "${adml}" "//*[local-name()='presentation']/*/@refId")
    foreach(id ${controls})
      if(NOT id IN_LIST element_ids)
        list(APPEND problems "${lang}: a presentation's control refers to ${id}, which the template lacks")
      endif()
    endforeach()
    xpath_values(suggestions "${adml}"
      "//*[local-name()='presentation'][@id='Language']/*[local-name()='comboBox']/*[local-name()='suggestion']/text()")
    list(SORT suggestions)
    if(NOT suggestions STREQUAL shipped)
      string(JOIN " " offered ${suggestions})
      string(JOIN " " languages ${shipped})
      list(APPEND problems "${lang}: the language policy offers ${offered}, but the shipped languages are ${languages}")
    endif()
  endforeach()
endif()

if(problems)
  foreach(p ${problems})
    message(SEND_ERROR "${p}")
  endforeach()
  message(FATAL_ERROR "policy template check failed")
endif()
list(LENGTH admls n)
message(STATUS "policy template and ${n} languages' texts: well-formed and complete")
