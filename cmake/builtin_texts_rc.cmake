# Writes the program's built-in English texts as a string table for the resource
# compiler: every line of the section [TwinsweepLauncher.texts] of the English
# language file, as written there, one string each from TWINSWEEP_TEXTS_FIRST_ID
# on. The program reads them back until an ID is missing and loads them as a
# language of their own, so a key added to the file is built in with the next build.
#   cmake -DINPUT=languages/EN.lng -DOUTPUT=builtin_texts.rc -DFIRST_ID=20480 -P builtin_texts_rc.cmake
foreach(v INPUT OUTPUT FIRST_ID)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "builtin_texts_rc.cmake: ${v} is not set")
  endif()
endforeach()

file(READ "${INPUT}" text)
set(bom "\xEF\xBB\xBF")
string(FIND "${text}" "${bom}" bom_at)
if(bom_at EQUAL 0)
  string(LENGTH "${bom}" bom_length)
  string(SUBSTRING "${text}" ${bom_length} -1 text)
elseif(text MATCHES "[\x80-\xFF]")
  # Without the mark the program reads the file in the ANSI code page, which the
  # build cannot know.
  message(FATAL_ERROR "${INPUT}: non-ASCII text without a UTF-8 byte-order mark")
endif()

# Characters that CMake's lists treat specially are set aside before the text is
# cut into lines, and put back in each line.
string(REPLACE "@" "@A@" text "${text}")
string(REPLACE ";" "@S@" text "${text}")
string(REPLACE "[" "@L@" text "${text}")
string(REPLACE "]" "@R@" text "${text}")
string(REPLACE "\\" "@B@" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(in_section FALSE)
set(found FALSE)
set(id ${FIRST_ID})
set(body "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[ \t]+" "" line "${line}")
  string(REGEX REPLACE "[ \t]+$" "" line "${line}")
  if(line STREQUAL "" OR line MATCHES "^(@S@|')")
    continue()
  endif()
  if(line MATCHES "^@L@(.*)$")
    set(rest "${CMAKE_MATCH_1}")
    string(FIND "${rest}" "@R@" close)
    string(SUBSTRING "${rest}" 0 ${close} name)
    string(TOLOWER "${name}" name)
    if(in_section)
      break()
    endif()
    if(name STREQUAL "twinsweeplauncher.texts")
      set(in_section TRUE)
      set(found TRUE)
    endif()
    continue()
  endif()
  if(NOT in_section)
    continue()
  endif()
  # As the resource compiler reads a string: a quote doubled, a backslash escaped.
  string(REPLACE "\"" "\"\"" line "${line}")
  string(REPLACE "@B@" "\\\\" line "${line}")
  string(REPLACE "@R@" "]" line "${line}")
  string(REPLACE "@L@" "[" line "${line}")
  string(REPLACE "@S@" ";" line "${line}")
  string(REPLACE "@A@" "@" line "${line}")
  string(APPEND body "  ${id}, \"${line}\"\n")
  math(EXPR id "${id} + 1")
endforeach()
if(NOT found OR body STREQUAL "")
  message(FATAL_ERROR "${INPUT}: no texts in [TwinsweepLauncher.texts]")
endif()

file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.\n#pragma code_page(65001)\nSTRINGTABLE\nBEGIN\n${body}END\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
