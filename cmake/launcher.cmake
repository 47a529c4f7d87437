# The launcher: its settings and its code as twinsweep_launcher_core (a library,
# so that the tests link it), and in the Windows build the program itself with
# its resources and the shipped language files beside it. It links the engine
# like any other program does.

# The two web hosts are settings of the build; the defaults are reserved example domains.
set(TWINSWEEP_MAKER_HOST "www.orvex.example" CACHE STRING "Host of the maker's web site (purchase page)")
set(TWINSWEEP_PRODUCT_HOST "www.twinsweep.example" CACHE STRING "Host of the product web site (web help)")
set(TWINSWEEP_WEB_SCHEME "https" CACHE STRING "Scheme of the addresses on both web sites")

# The system services that only the launcher uses (twinsweep_lang.cmake names
# them): the session window, the worker threads, the board's session signals,
# processes, clock, environment, automation, ... They stand on the engine's.
add_library(twinsweep_launcher_platform STATIC ${TWINSWEEP_LAUNCHER_PLATFORM_SOURCES})
target_link_libraries(twinsweep_launcher_platform PUBLIC twinsweep::lang)
if(WIN32)
  target_compile_definitions(twinsweep_launcher_platform PRIVATE ${TWINSWEEP_WIN32_DEFINITIONS})
endif()

file(GLOB TWINSWEEP_LAUNCHER_SOURCES CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/twinsweep/settings/*.cpp" "${CMAKE_SOURCE_DIR}/src/twinsweep/launcher/*.cpp")
add_library(twinsweep_launcher_core STATIC ${TWINSWEEP_LAUNCHER_SOURCES})
target_link_libraries(twinsweep_launcher_core PUBLIC twinsweep_launcher_platform)
target_compile_definitions(twinsweep_launcher_core PRIVATE
  TWINSWEEP_MAKER_HOST=u"${TWINSWEEP_MAKER_HOST}"
  TWINSWEEP_PRODUCT_HOST=u"${TWINSWEEP_PRODUCT_HOST}"
  TWINSWEEP_WEB_SCHEME=u"${TWINSWEEP_WEB_SCHEME}")

# The in-memory registry and window framework for the tests: natively they are
# the engine's system already; the Windows tests get them from twinsweep_memory.
if(WIN32)
  add_library(twinsweep_memory STATIC ${TWINSWEEP_MEMORY_SOURCES})
  target_link_libraries(twinsweep_memory PUBLIC twinsweep::lang)
else()
  add_library(twinsweep_memory INTERFACE)
  target_link_libraries(twinsweep_memory INTERFACE twinsweep::lang)
endif()

# The shipped language files lie next to the program, as in a user's installation.
file(GLOB TWINSWEEP_LANGUAGE_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/languages/*.lng")

if(NOT WIN32)
  return()
endif()

# The manifest and the version block (windres); the version is the project's.
enable_language(RC)
configure_file("${CMAKE_SOURCE_DIR}/src/twinsweep/platform/win32/resources/version.h.in"
  "${CMAKE_BINARY_DIR}/generated/twinsweep_version.h")
add_executable(TwinsweepLauncher WIN32 src/twinsweep/platform/win32/win_main.cpp src/twinsweep/platform/win32/win_terminate.cpp
  src/twinsweep/platform/win32/resources/TwinsweepLauncher.rc)
target_include_directories(TwinsweepLauncher PRIVATE "${CMAKE_BINARY_DIR}/generated"
  "${CMAKE_SOURCE_DIR}/src/twinsweep/platform/win32/resources")
set_property(SOURCE src/twinsweep/platform/win32/resources/TwinsweepLauncher.rc APPEND PROPERTY OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/twinsweep/platform/win32/resources/TwinsweepLauncher.manifest")
target_link_libraries(TwinsweepLauncher PRIVATE twinsweep_launcher_core)
# --tsaware: no Remote Desktop compatibility layer (per-user INI and registry copies).
target_link_options(TwinsweepLauncher PRIVATE -municode -mwindows -Wl,--tsaware)
# Small code, and what nothing calls left out; the symbols and the debugging
# information go to TwinsweepLauncher.debug beside the program, which names it.
target_compile_options(twinsweep_launcher_core PRIVATE -Os -g -ffunction-sections -fdata-sections)
target_compile_options(twinsweep_launcher_platform PRIVATE -Os -g -ffunction-sections -fdata-sections)
target_compile_options(TwinsweepLauncher PRIVATE -Os -g -ffunction-sections -fdata-sections)
target_link_options(TwinsweepLauncher PRIVATE -Wl,--gc-sections)
find_program(TWINSWEEP_OBJCOPY NAMES x86_64-w64-mingw32-objcopy REQUIRED)
add_custom_command(TARGET TwinsweepLauncher POST_BUILD
  COMMAND ${TWINSWEEP_BUILD_ENV} ${TWINSWEEP_OBJCOPY} --only-keep-debug $<TARGET_FILE:TwinsweepLauncher> $<TARGET_FILE_DIR:TwinsweepLauncher>/TwinsweepLauncher.debug
  COMMAND ${TWINSWEEP_BUILD_ENV} ${TWINSWEEP_OBJCOPY} --strip-all $<TARGET_FILE:TwinsweepLauncher>
  COMMAND ${TWINSWEEP_BUILD_ENV} ${TWINSWEEP_OBJCOPY} --add-gnu-debuglink=TwinsweepLauncher.debug $<TARGET_FILE:TwinsweepLauncher>
  WORKING_DIRECTORY $<TARGET_FILE_DIR:TwinsweepLauncher>
  COMMENT "Splitting the symbols of TwinsweepLauncher.exe into TwinsweepLauncher.debug")
include(${CMAKE_CURRENT_LIST_DIR}/icon.cmake)
foreach(f ${TWINSWEEP_LANGUAGE_FILES})
  get_filename_component(n "${f}" NAME)
  configure_file("${f}" "${CMAKE_BINARY_DIR}/${n}" COPYONLY)
endforeach()
