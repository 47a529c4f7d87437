# twinsweep::lang: the localization engine as a library of its own. CLang
# (src/twinsweep/lang), what it stands on (src/twinsweep/base: the keyed collection, Variant,
# failures, the error log) and the system services it uses (src/twinsweep/platform: files,
# registry, text codec, forms and pictures, the application; the Windows ones in the
# Windows build, natively the POSIX files and the in-memory registry and window
# framework). Nothing of the launcher, its services or the product's settings.
#
# Another project uses it with add_subdirectory() of this repository or with
# find_package(TwinsweepLang CONFIG) from an install prefix, and one
#   target_link_libraries(app PRIVATE twinsweep::lang)
include(GNUInstallDirs)
set(TWINSWEEP_LANG_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
get_filename_component(TWINSWEEP_LANG_ROOT "${TWINSWEEP_LANG_ROOT}" ABSOLUTE)

file(GLOB TWINSWEEP_LANG_SOURCES CONFIGURE_DEPENDS
  "${TWINSWEEP_LANG_ROOT}/src/twinsweep/base/*.cpp" "${TWINSWEEP_LANG_ROOT}/src/twinsweep/lang/*.cpp"
  "${TWINSWEEP_LANG_ROOT}/src/twinsweep/platform/*.cpp")
file(GLOB TWINSWEEP_MEMORY_SOURCES CONFIGURE_DEPENDS "${TWINSWEEP_LANG_ROOT}/src/twinsweep/platform/memory/*.cpp")
if(WIN32)
  file(GLOB TWINSWEEP_SYSTEM_SOURCES CONFIGURE_DEPENDS "${TWINSWEEP_LANG_ROOT}/src/twinsweep/platform/win32/*.cpp")
  # win_*.cpp are pieces of the launcher's executable alone (its entry, its terminate handler).
  list(FILTER TWINSWEEP_SYSTEM_SOURCES EXCLUDE REGEX "/win_[a-z_]+\\.cpp$")
else()
  file(GLOB TWINSWEEP_SYSTEM_SOURCES CONFIGURE_DEPENDS "${TWINSWEEP_LANG_ROOT}/src/twinsweep/platform/posix/*.cpp")
  list(APPEND TWINSWEEP_SYSTEM_SOURCES ${TWINSWEEP_MEMORY_SOURCES})
endif()
# The services only the launcher uses (their headers are platform/NAME.h, their
# implementations win32_NAME.cpp, posix_NAME.cpp or memory_NAME.cpp) are its own
# library's, twinsweep_launcher_platform (launcher.cmake).
set(TWINSWEEP_LAUNCHER_SERVICES apartment automation clock desktop desktop_rights diagnostics dll_search environment
  message_wait processes program_start session_signals session_window string_table this_process worker_threads)
list(JOIN TWINSWEEP_LAUNCHER_SERVICES "|" TWINSWEEP_LAUNCHER_SERVICES_PATTERN)
set(TWINSWEEP_LAUNCHER_SERVICES_PATTERN "/(win32|posix|memory)_(${TWINSWEEP_LAUNCHER_SERVICES_PATTERN})\\.cpp$")
set(TWINSWEEP_LAUNCHER_PLATFORM_SOURCES ${TWINSWEEP_SYSTEM_SOURCES})
list(FILTER TWINSWEEP_LAUNCHER_PLATFORM_SOURCES INCLUDE REGEX "${TWINSWEEP_LAUNCHER_SERVICES_PATTERN}")
list(FILTER TWINSWEEP_SYSTEM_SOURCES EXCLUDE REGEX "${TWINSWEEP_LAUNCHER_SERVICES_PATTERN}")

add_library(twinsweep_lang STATIC ${TWINSWEEP_LANG_SOURCES} ${TWINSWEEP_SYSTEM_SOURCES})
add_library(twinsweep::lang ALIAS twinsweep_lang)
set_target_properties(twinsweep_lang PROPERTIES EXPORT_NAME lang OUTPUT_NAME twinsweep_lang)
target_compile_features(twinsweep_lang PUBLIC cxx_std_17)
target_include_directories(twinsweep_lang PUBLIC
  $<BUILD_INTERFACE:${TWINSWEEP_LANG_ROOT}/src>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

set(TWINSWEEP_WIN32_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(WIN32)
  target_compile_definitions(twinsweep_lang PRIVATE ${TWINSWEEP_WIN32_DEFINITIONS})
  target_link_libraries(twinsweep_lang PUBLIC ole32 oleaut32 uuid shell32 user32 gdi32 comctl32 advapi32)
  # No link options of ours reach a program that links the engine: how it links
  # the compiler's runtime (the DLLs or -static) is its own choice, and would
  # reach its DLLs too. Our own programs link statically (project_settings.cmake).
endif()

# Our own trees build the engine with the sanitizers or the fuzzer's coverage:
# our programs linking that build need their runtimes as well. Only in the build
# tree: an installed or exported engine carries none of it.
if(TWINSWEEP_TOP_LEVEL AND NOT WIN32 AND (TWINSWEEP_FUZZ OR TWINSWEEP_SANITIZE))
  target_link_options(twinsweep_lang INTERFACE $<BUILD_INTERFACE:-fsanitize=address,undefined>)
endif()

if(TWINSWEEP_TOP_LEVEL AND WIN32)
  # Small code, and what nothing calls left out, as in the launcher.
  target_compile_options(twinsweep_lang PRIVATE -Os -g -ffunction-sections -fdata-sections)
  # Except the language loader's line and entry parsing (and the syntax it uses),
  # the one loop that runs per line of a file: there speed counts more than a few kilobytes.
  set_source_files_properties("${TWINSWEEP_LANG_ROOT}/src/twinsweep/lang/lang_parse.cpp"
                              "${TWINSWEEP_LANG_ROOT}/src/twinsweep/lang/lang_syntax.cpp" PROPERTIES COMPILE_OPTIONS -O2)
endif()

include("${CMAKE_CURRENT_LIST_DIR}/twinsweep_lang_install.cmake")
