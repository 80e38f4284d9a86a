# cmake --install: headers, import libraries, both DLLs, a package config with its version file,
# and for the desktop run under Wine the stand-in of the device's platform (coredll.dll,
# commctrl.dll), the MinGW toolchain files, the Wine runner and the test kit, so that an
# application configured with
#   -DCMAKE_PREFIX_PATH=<prefix> -DCMAKE_TOOLCHAIN_FILE=<prefix>/share/ZorNavCtrl/mingw-w64-i686.cmake
# does find_package(ZorNavCtrl 1.0 CONFIG REQUIRED), links ZorNavCtrl::ZorNavCtrl (and its
# tests ZorNavCtrl::TestKit) and runs its programs with ${ZorNavCtrl_WINE_RUN}; linking
# ZorNavCtrl::ZorNavCtrl brings the stand-in's DLLs along as the program's run-time DLLs.
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

# The stand-in of the device's platform, and its calls for tests (StandIn.h, libstandin.a).
set(ZNC_HAS_STANDIN OFF)
if(TARGET standin)
    set(ZNC_HAS_STANDIN ON)
    install(FILES $<TARGET_FILE:standin_coredll> $<TARGET_FILE:standin_commctrl>
        DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_BINARY_DIR}/standin/libstandin.a DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(FILES standin/StandIn.h tools/device/include/sipapi.h tools/device/include/dbgapi.h
        DESTINATION ${ZNC_INSTALL_INCLUDEDIR})
endif()

# The cross toolchain travels with the package: it finds packages under CMAKE_PREFIX_PATH.
install(FILES cmake/mingw-w64-common.cmake cmake/mingw-w64-i686.cmake
    DESTINATION ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl)
# So does the runner that starts a Windows program under Wine, with a prefix of its own.
set(ZNC_INSTALL_RUNNER ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl/wine-run.sh)
install(PROGRAMS cmake/wine-run.sh DESTINATION ${CMAKE_INSTALL_DATADIR}/ZorNavCtrl)

file(WRITE ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in [=[
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/ZorNavCtrlTargets.cmake")
# The stand-in of the device's platform, which the library's DLLs load under Wine. Its import
# library holds the stand-in's own calls alone (StandIn.h), never the desktop's; the common
# controls (InitCommonControlsEx, which lists need first) come from the desktop's comctl32.
if(@ZNC_HAS_STANDIN@ AND NOT TARGET ZorNavCtrl::Platform)
    foreach(dll coredll commctrl)
        add_library(ZorNavCtrl::Platform_${dll} SHARED IMPORTED)
        set_target_properties(ZorNavCtrl::Platform_${dll} PROPERTIES
            IMPORTED_LOCATION "${PACKAGE_PREFIX_DIR}/@CMAKE_INSTALL_BINDIR@/${dll}.dll"
            IMPORTED_IMPLIB "${PACKAGE_PREFIX_DIR}/@CMAKE_INSTALL_LIBDIR@/libstandin.a")
    endforeach()
    add_library(ZorNavCtrl::Platform INTERFACE IMPORTED)
    set_target_properties(ZorNavCtrl::Platform PROPERTIES INTERFACE_LINK_LIBRARIES
        "ZorNavCtrl::Platform_coredll;ZorNavCtrl::Platform_commctrl;comctl32")
    set_property(TARGET ZorNavCtrl::ZorNavCtrl APPEND PROPERTY INTERFACE_LINK_LIBRARIES
        ZorNavCtrl::Platform)
endif()
# Runs a Windows program under Wine: set CMAKE_CROSSCOMPILING_EMULATOR to it, or call it.
set_and_check(ZorNavCtrl_WINE_RUN "@PACKAGE_ZNC_INSTALL_RUNNER@")
check_required_components(ZorNavCtrl)
]=])
configure_package_config_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake.in
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    INSTALL_DESTINATION ${ZNC_INSTALL_CMAKEDIR} PATH_VARS ZNC_INSTALL_RUNNER)
# 1.x packages serve any 1.y request; the 32-bit package refuses a 64-bit application.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZorNavCtrlConfig.cmake
    ${CMAKE_BINARY_DIR}/ZorNavCtrlConfigVersion.cmake
    DESTINATION ${ZNC_INSTALL_CMAKEDIR})
