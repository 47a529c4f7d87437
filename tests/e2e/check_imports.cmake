# Checks the PE headers of PROGRAM with OBJDUMP: a GUI-subsystem program that imports
# only DLLs every Windows has. Runtime DLLs of the compiler (libstdc++, libgcc,
# libwinpthread) would make the program fail to start on a user's machine.
# With VERSION it also checks the program's resources: the manifest and the
# version block (see the resource check below).
#   cmake -DOBJDUMP=... -DPROGRAM=... [-DVERSION=...] -P check_imports.cmake
cmake_minimum_required(VERSION 3.20)

set(ALLOWED_DLLS
  kernel32 user32 gdi32 advapi32 shell32 shlwapi ole32 oleaut32 comctl32 comdlg32
  version rpcrt4 ntdll bcrypt ws2_32 msvcrt ucrtbase)
set(ALLOWED_DLL_PATTERNS "^api-ms-win-(crt|core)-.*$")

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
  OUTPUT_VARIABLE dump ERROR_VARIABLE dump_error RESULT_VARIABLE rc)
set(problems)
if(NOT rc EQUAL 0)
  list(APPEND problems "objdump failed (${rc}): ${dump_error}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
set(dlls)
foreach(line ${lines})
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(APPEND dlls "${dll}")
  string(REGEX REPLACE "\\.dll$" "" base "${dll}")
  if(NOT base IN_LIST ALLOWED_DLLS AND NOT base MATCHES "${ALLOWED_DLL_PATTERNS}")
    list(APPEND problems "imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
if(rc EQUAL 0 AND NOT dlls)
  list(APPEND problems "no imported DLL found in the dump")
endif()
if(rc EQUAL 0 AND NOT dump MATCHES "Subsystem[ \t]+0*2[ \t]+\\(Windows GUI\\)")
  list(APPEND problems "not a GUI-subsystem program")
endif()

# Resource check: the application manifest (run as invoker, per-monitor DPI
# awareness, Common Controls 6, Windows 7 to 11, and no process code page, which
# would change how ANSI language files are read) and the version block with the
# product's names and the project's version.
if(rc EQUAL 0 AND VERSION)
  if(NOT dump MATCHES "Resource Directory \\[\\.rsrc\\]")
    list(APPEND problems "no resource section")
  endif()
  file(STRINGS "${PROGRAM}" manifest REGEX "<|>")
  string(JOIN "\n" manifest ${manifest})
  foreach(needed
      "requestedExecutionLevel level=\"asInvoker\""
      ">PerMonitorV2"
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""
      "supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\""
      "supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"")
    string(FIND "${manifest}" "${needed}" at)
    if(at EQUAL -1)
      list(APPEND problems "the manifest lacks ${needed}")
    endif()
  endforeach()
  string(FIND "${manifest}" "activeCodePage" at)
  if(NOT at EQUAL -1)
    list(APPEND problems "the manifest sets activeCodePage")
  endif()
  # The version block's texts are UTF-16 strings, each value right after its name
  # (texts with brackets, semicolons or backslashes cannot be list items: left out).
  file(STRINGS "${PROGRAM}" texts ENCODING UTF-16LE REGEX "^[^][;\\\\]+$")
  foreach(pair "CompanyName=Orvex" "ProductName=Twinsweep" "FileVersion=${VERSION}"
      "ProductVersion=${VERSION}" "OriginalFilename=TwinsweepLauncher.exe"
      "LegalCopyright=Copyright (C) 2026 Orvex")
    string(REGEX REPLACE "=.*" "" name "${pair}")
    string(REGEX REPLACE "^[^=]*=" "" value "${pair}")
    list(FIND texts "${name}" at)
    set(found "")
    if(at GREATER -1)
      math(EXPR at "${at} + 1")
      list(GET texts ${at} found)
    endif()
    if(NOT found STREQUAL value)
      list(APPEND problems "the version block's ${name} is \"${found}\", not \"${value}\"")
    endif()
  endforeach()
  list(FIND texts "FileDescription" at)
  if(at EQUAL -1)
    list(APPEND problems "the version block has no FileDescription")
  endif()
  # The icon that Explorer, the Start menu and Add/Remove Programs show: the
  # resource types icon group (14) and icon (3) in the top table of .rsrc.
  foreach(type "0x00000e" "0x000003")
    if(NOT dump MATCHES "\n[0-9a-f]+   Entry: ID: ${type},")
      list(APPEND problems "no resource of type ${type}: the program has no icon")
    endif()
  endforeach()
endif()

# SetDefaultDllDirectories is looked up at run time, never imported: a Windows 7
# without the update that added it could not even start a program that imports it.
# The program is marked terminal-server aware, so that a Remote Desktop server does
# not give it the per-user INI and registry compatibility layer.
# The name to look up stands in the program, and the fallback SetDllDirectoryW
# is imported.
string(TOLOWER "${dump}" lower)
if(rc EQUAL 0 AND lower MATCHES "[ \t]setdefaultdlldirectories[\r\n]")
  list(APPEND problems "imports SetDefaultDllDirectories, which an unpatched Windows 7 lacks")
endif()
file(STRINGS "${PROGRAM}" lookup REGEX "^SetDefaultDllDirectories$")
if(rc EQUAL 0 AND NOT lookup)
  list(APPEND problems "does not look up SetDefaultDllDirectories")
endif()
if(rc EQUAL 0 AND NOT lower MATCHES "[ \t]setdlldirectoryw[\r\n]")
  list(APPEND problems "does not import SetDllDirectoryW, the fallback where SetDefaultDllDirectories is missing")
endif()
# IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE (0x8000), which objdump names
# TERMINAL_SERVICE_AWARE.
if(rc EQUAL 0)
  string(REGEX MATCH "DllCharacteristics[ \t]+([0-9a-fA-F]+)" found "${dump}")
  set(tsaware 0)
  if(found)
    math(EXPR tsaware "0x${CMAKE_MATCH_1} & 0x8000")
  endif()
  if(NOT tsaware)
    list(APPEND problems "not marked terminal-server aware (--tsaware)")
  endif()
endif()

list(LENGTH problems nProblems)
string(REPLACE ";" ", " shown "${dlls}")
message(STATUS "${PROGRAM} imports: ${shown}")
if(nProblems GREATER 0)
  foreach(p ${problems})
    message(SEND_ERROR "${p}")
  endforeach()
  message(FATAL_ERROR "launcher imports check failed")
endif()
