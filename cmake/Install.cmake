# cmake --install: headers, import libraries, both DLLs, a package config with its version file,
# the MinGW toolchain files, the Wine runner and (on the desktop) the test kit, so that an
# application configured with
#   -DCMAKE_PREFIX_PATH=<prefix> -DCMAKE_TOOLCHAIN_FILE=<prefix>/share/ZorNavCtrl/mingw-w64-x86_64.cmake
# does find_package(ZorNavCtrl 1.0 CONFIG REQUIRED), links ZorNavCtrl::ZorNavCtrl (and its
# tests ZorNavCtrl::TestKit) and runs its programs with ${ZorNavCtrl_WINE_RUN}.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The headers keep to a folder of their own (CxImage.h and NavCommon.h are common names), and
# the targets carry that folder, so that applications write #include <ZorNavCtrl.h>.
set(ZNC_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/ZorNavCtrl)
set(ZNC_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZorNavCtrl)

install(TARGETS ZorNavCtrl imgblend EXPORT ZorNavCtrlTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
install(DIRECTORY include/ DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
install(FILES imgblend/include/CxImage.h DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
if(TARGET navtestkit)
    install(TARGETS navtestkit EXPORT ZorNavCtrlTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
    install(FILES tests/host/NavTestKit.h DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
endif()
install(EXPORT ZorNavCtrlTargets NAMESPACE ZorNavCtrl:: DESTINATION ${ZNC_INSTALL_CMAKEDIR})

# The cross toolchain travels with the package: it finds packages under CMAKE_PREFIX_PATH.
install(FILES cmake/mingw-w64-common.cmake cmake/mingw-w64-x86_64.cmake cmake/mingw-w64-i686.cmake
    DESTINATION ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl)
# So does the runner that starts a Windows program under Wine, with a prefix of its own.
set(ZNC_INSTALL_RUNNER ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl/wine-run.sh)
install(PROGRAMS cmake/wine-run.sh DESTINATION ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl)

file(WRITE ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in [=[
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/ZorNavCtrlTargets.cmake")
# Runs a Windows program under Wine: set CMAKE_CROSSCOMPILING_EMULATOR to it, or call it.
set_and_check(ZorNavCtrl_WINE_RUN "@PACKAGE_ZNC_INSTALL_RUNNER@")
check_required_components(ZorNavCtrl)
]=])
configure_package_config_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    INSTALL_DESTINATION ${ZNC_INSTALL_CMAKEDIR} PATH_VARS ZNC_INSTALL_RUNNER)
# 1.x packages serve any 1.y request; the 64-bit package refuses a 32-bit application.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    DESTINATION ${ZNC_INSTALL_CMAKEDIR})
