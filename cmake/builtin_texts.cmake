# The program's built-in English texts: every line of [TwinsweepLauncher.texts] in
# languages/EN.lng, generated at build time into a string table that the program's
# resources include, so that the question is in words even with no usable language
# file beside the program. The first string ID is shared with the code
# (kBuiltInTextsFirstId in src/twinsweep/launcher/user_texts.h).
set(TWINSWEEP_BUILTIN_TEXTS_FIRST_ID 20480)
target_compile_definitions(twinsweep_launcher_core PUBLIC TWINSWEEP_BUILTIN_TEXTS_FIRST_ID=${TWINSWEEP_BUILTIN_TEXTS_FIRST_ID})
if(TARGET TwinsweepLauncher)
  set(builtin_texts_rc "${CMAKE_BINARY_DIR}/generated/builtin_texts.rc")
  add_custom_command(OUTPUT "${builtin_texts_rc}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/languages/EN.lng -DOUTPUT=${builtin_texts_rc}
            -DFIRST_ID=${TWINSWEEP_BUILTIN_TEXTS_FIRST_ID} -P ${CMAKE_SOURCE_DIR}/cmake/builtin_texts_rc.cmake
    DEPENDS "${CMAKE_SOURCE_DIR}/languages/EN.lng" "${CMAKE_SOURCE_DIR}/cmake/builtin_texts_rc.cmake"
    COMMENT "Building the English texts of languages/EN.lng into the program's string table")
  add_custom_target(builtin_texts DEPENDS "${builtin_texts_rc}")
  add_dependencies(TwinsweepLauncher builtin_texts)
  set_property(SOURCE src/twinsweep/platform/win32/resources/TwinsweepLauncher.rc APPEND PROPERTY OBJECT_DEPENDS
    "${builtin_texts_rc}")
endif()
