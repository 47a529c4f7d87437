# Installs twinsweep::lang with its public headers (lang/lang.h and what it
# includes) and a package, so that find_package(TwinsweepLang CONFIG) finds it
# under the prefix:
#   <prefix>/include/twinsweep/lang.h and twinsweep/{lang,base,platform}/*.h
#   <prefix>/lib/libtwinsweep_lang.a
#   <prefix>/lib/cmake/TwinsweepLang/TwinsweepLang{Config,ConfigVersion,Targets}.cmake
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# On when this project is built on its own; a project that adds it with
# add_subdirectory() gets our files in its install only when it sets this ON.
option(TWINSWEEP_LANG_INSTALL "Install twinsweep::lang and its package files" ${TWINSWEEP_TOP_LEVEL})
if(NOT TWINSWEEP_LANG_INSTALL)
  return()
endif()

set(TWINSWEEP_LANG_PUBLIC_HEADERS
  lang.h lang/lang.h lang/lang_options.h
  base/collection.h base/date.h base/error_log.h base/failure.h base/text.h base/text_arena.h base/variant.h
  platform/files.h platform/forms.h platform/services.h platform/win_status.h)
if(WIN32)
  # Attaching a dialog to the window framework, for LocalizeForm.
  list(APPEND TWINSWEEP_LANG_PUBLIC_HEADERS platform/win32/win32_forms.h platform/win32/win32_windows.h)
endif()
foreach(h ${TWINSWEEP_LANG_PUBLIC_HEADERS})
  get_filename_component(folder "${h}" DIRECTORY)
  install(FILES "${TWINSWEEP_LANG_ROOT}/src/twinsweep/${h}" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/twinsweep/${folder}")
endforeach()

set(TWINSWEEP_LANG_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/TwinsweepLang")
install(TARGETS twinsweep_lang EXPORT TwinsweepLangTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
install(EXPORT TwinsweepLangTargets NAMESPACE twinsweep:: DESTINATION "${TWINSWEEP_LANG_PACKAGE_DIR}")
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/TwinsweepLangConfig.cmake.in"
  "${CMAKE_CURRENT_BINARY_DIR}/TwinsweepLangConfig.cmake" INSTALL_DESTINATION "${TWINSWEEP_LANG_PACKAGE_DIR}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/TwinsweepLangConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/TwinsweepLangConfig.cmake"
  "${CMAKE_CURRENT_BINARY_DIR}/TwinsweepLangConfigVersion.cmake" DESTINATION "${TWINSWEEP_LANG_PACKAGE_DIR}")
