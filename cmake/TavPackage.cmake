# The TavCtrls CMake package: what `cmake --install` puts into the prefix, and the same package usable
# straight from the build tree (-DTavCtrls_DIR=<build>/TavCtrls).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The archives go into the shared library as they are, so they are position independent. Calls inside the
# library need not allow for interposition, which keeps them inlinable as in a plain static build.
foreach(library tavctrls tav_platform tav_files tav_winmain)
    set_target_properties(${library} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${library} PRIVATE -fno-semantic-interposition)
endforeach()

set_target_properties(tavctrls_program PROPERTIES EXPORT_NAME TavCtrls)
set_target_properties(tavctrls_shared_program PROPERTIES EXPORT_NAME Shared)
set_target_properties(tavctrls PROPERTIES EXPORT_NAME Static)
set_target_properties(tavctrls_shared PROPERTIES EXPORT_NAME SharedLibrary)
set_target_properties(tav_platform PROPERTIES EXPORT_NAME Platform)
set_target_properties(tav_files PROPERTIES EXPORT_NAME Files)
set_target_properties(tav_winmain PROPERTIES EXPORT_NAME WinMain)

set(TAV_PACKAGE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TavCtrls)
set(TAV_PACKAGE_BUILD_DIR ${CMAKE_BINARY_DIR}/TavCtrls)

install(TARGETS tavctrls tav_platform tav_files tav_winmain tavctrls_shared tavctrls_program tavctrls_shared_program
    EXPORT TavCtrlsTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${CMAKE_INSTALL_INCLUDEDIR}/tavctrls)
install(EXPORT TavCtrlsTargets NAMESPACE TavCtrls:: DESTINATION ${TAV_PACKAGE_CMAKE_DIR})
export(EXPORT TavCtrlsTargets NAMESPACE TavCtrls:: FILE ${TAV_PACKAGE_BUILD_DIR}/TavCtrlsTargets.cmake)

# The public headers, and only they: the runtime plumbing and the platform layer are not installed.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/tavctrls/include/tavctrls DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The bitmaps the controls load ("art//buttonnormal.bmp" and so on), to be copied beside programs.
install(DIRECTORY ${TAV_ART_SOURCE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/TavCtrls/art
    FILES_MATCHING PATTERN "*.bmp")
install(TARGETS tavgen tavbuilder RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# One template, two configs: the installed one finds its art relative to itself, the build tree's one uses
# the repository's art folder.
set(TAV_PACKAGE_ART_DIR ${CMAKE_INSTALL_DATADIR}/TavCtrls/art)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TavCtrlsConfig.cmake.in
    ${CMAKE_BINARY_DIR}/TavCtrlsInstall/TavCtrlsConfig.cmake
    INSTALL_DESTINATION ${TAV_PACKAGE_CMAKE_DIR}
    PATH_VARS TAV_PACKAGE_ART_DIR)
set(TAV_PACKAGE_ART_DIR ${TAV_ART_SOURCE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TavCtrlsConfig.cmake.in
    ${TAV_PACKAGE_BUILD_DIR}/TavCtrlsConfig.cmake
    INSTALL_DESTINATION ${TAV_PACKAGE_BUILD_DIR}
    INSTALL_PREFIX ${CMAKE_BINARY_DIR}
    PATH_VARS TAV_PACKAGE_ART_DIR)
write_basic_package_version_file(${TAV_PACKAGE_BUILD_DIR}/TavCtrlsConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TavCtrlsInstall/TavCtrlsConfig.cmake
              ${TAV_PACKAGE_BUILD_DIR}/TavCtrlsConfigVersion.cmake
    DESTINATION ${TAV_PACKAGE_CMAKE_DIR})
