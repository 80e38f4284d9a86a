# cmake --install: headers, import libraries, both DLLs and a package config, so that an
# application does find_package(ZorNavCtrl CONFIG REQUIRED) and links ZorNavCtrl::ZorNavCtrl.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS ZorNavCtrl imgblend EXPORT ZorNavCtrlTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES imgblend/include/CxImage.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT ZorNavCtrlTargets NAMESPACE ZorNavCtrl::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorNavCtrl)

file(WRITE ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in [=[
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/ZorNavCtrlTargets.cmake")
]=])
configure_package_config_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorNavCtrl)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorNavCtrl)
