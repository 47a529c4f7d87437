# The program's icon, drawn at build time from its description in
# packaging/make_icon.py (16, 24, 32, 48 and 256 pixels). The resource script
# includes it from the generated folder; scripts/package gives the same file to
# the installer for the shortcuts and Add/Remove Programs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TWINSWEEP_ICON "${CMAKE_BINARY_DIR}/generated/TwinsweepLauncher.ico")
add_custom_command(OUTPUT "${TWINSWEEP_ICON}"
  COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/packaging/make_icon.py" "${TWINSWEEP_ICON}"
  DEPENDS "${CMAKE_SOURCE_DIR}/packaging/make_icon.py"
  COMMENT "Drawing TwinsweepLauncher.ico")
add_custom_target(twinsweep_icon DEPENDS "${TWINSWEEP_ICON}")
add_dependencies(TwinsweepLauncher twinsweep_icon)
set_property(SOURCE src/twinsweep/platform/win32/resources/TwinsweepLauncher.rc APPEND PROPERTY OBJECT_DEPENDS "${TWINSWEEP_ICON}")
