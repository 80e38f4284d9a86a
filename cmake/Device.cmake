# The device configuration of the two DLLs, for Windows CE 5.0: with the device SDK's compiler
# (CMAKE_SYSTEM_NAME WindowsCE), or as one of the check builds that tools/device-check.sh runs
# with cmake/ce5-i686.cmake and cmake/ce5-armv7-clang.cmake (ZNC_DEVICE_CHECK).
#
# tools/device/ce5-surface.txt lists every call the device build makes, each with the CE library
# its reference page names. The SDK build links those libraries; the check builds link import
# libraries made from the list alone (-nostdlib), so that a call not listed fails the link.

set(ZNC_CE5_SURFACE ${PROJECT_SOURCE_DIR}/tools/device/ce5-surface.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZNC_CE5_SURFACE})

set(ZNC_CE5_SCRIPT ${PROJECT_SOURCE_DIR}/tools/device/ce5-imports.cmake)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZNC_CE5_SCRIPT})

# The CE libraries the list names (coredll.lib, commctrl.lib, ...), read by the same script that
# writes the check builds' .def files.
execute_process(COMMAND ${CMAKE_COMMAND} -DMODE=libraries -DSURFACE=${ZNC_CE5_SURFACE}
                        -P ${ZNC_CE5_SCRIPT}
                OUTPUT_VARIABLE ZNC_CE5_LIBRARIES RESULT_VARIABLE failed)
if(failed OR NOT ZNC_CE5_LIBRARIES)
    message(FATAL_ERROR "${ZNC_CE5_SURFACE}: its libraries could not be read")
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "WindowsCE")
    # The SDK's own compiler and libraries. Each DLL is compiled with
    # - _WIN32_WCE=0x500 and UNDER_CE, and the processor's macros as the SDK's compiler names the
    #   processor (ARM, _ARM_ and ARMV4I for the device). CMake's Windows CE support defines the
    #   same from CMAKE_SYSTEM_VERSION and the compiler; they are set here as well so that the
    #   device's configuration reads in one place;
    # - C++ with /Zc:wchar_t, wchar_t as a type of its own, passed on to the applications that
    #   link the DLLs through CMake: every exported name that takes a wide string depends on it,
    #   and an application compiled with /Zc:wchar_t- (wchar_t as unsigned short) does not link.
    #   tools/device/*-msvc-*-exports.txt list the names (README);
    # and linked with the CE libraries that tools/device/ce5-surface.txt names (coredll.lib,
    # commctrl.lib).
    set(ZNC_CE5_PROCESSOR ${MSVC_CXX_ARCHITECTURE_ID})
    if(NOT ZNC_CE5_PROCESSOR)
        set(ZNC_CE5_PROCESSOR ARMV4I)
    endif()
    if(ZNC_CE5_PROCESSOR MATCHES "^ARM")
        set(ZNC_CE5_PROCESSOR ARM _ARM_ ${ZNC_CE5_PROCESSOR})
    else()
        set(ZNC_CE5_PROCESSOR ${ZNC_CE5_PROCESSOR} _${ZNC_CE5_PROCESSOR}_)
    endif()
    function(znc_device_dll target)
        target_compile_definitions(${target} PRIVATE _WIN32_WCE=0x500 UNDER_CE ${ZNC_CE5_PROCESSOR})
        target_compile_options(${target} PUBLIC $<$<COMPILE_LANGUAGE:CXX>:/Zc:wchar_t>)
        target_link_libraries(${target} PRIVATE ${ZNC_CE5_LIBRARIES})
    endfunction()
    return()
endif()

# ---- The check builds ----

set(ZNC_CE5_DIR ${CMAKE_BINARY_DIR}/ce5)
# Nothing of the desktop's (kernel32, user32, gdi32, ...) on the link line: the programs that
# run beside the library under Wine name what they use.
set(CMAKE_C_STANDARD_LIBRARIES "")
set(CMAKE_CXX_STANDARD_LIBRARIES "")

# Compiled as for the device, against the narrowed desktop headers; warnings are errors.
function(znc_ce5_compile target)
    target_compile_definitions(${target} PRIVATE _WIN32_WCE=0x500 UNDER_CE)
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/tools/device/include)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-include;${PROJECT_SOURCE_DIR}/tools/device/ce5.h;-fno-exceptions>
        $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
endfunction()

# Every listed call taken by its address under the device's prototypes: the compiler names each
# as the DLLs will import it (i686: Name@N, the stdcall size of its arguments), and the .def
# files are written from those names.
add_custom_command(OUTPUT ${ZNC_CE5_DIR}/ce5-probe.c
    COMMAND ${CMAKE_COMMAND} -DMODE=probe -DSURFACE=${ZNC_CE5_SURFACE} -DDIR=${ZNC_CE5_DIR}
            -P ${ZNC_CE5_SCRIPT}
    DEPENDS ${ZNC_CE5_SURFACE} ${ZNC_CE5_SCRIPT}
    COMMENT "Listing the device calls" VERBATIM)
add_library(ce5_probe OBJECT ${ZNC_CE5_DIR}/ce5-probe.c)
znc_ce5_compile(ce5_probe)

set(ZNC_CE5_DEFS)
set(ZNC_CE5_IMPORT_LIBS)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(ZNC_CE5_PREFIX _) # C names carry a leading underscore on i686
else()
    set(ZNC_CE5_PREFIX)
endif()
foreach(lib IN LISTS ZNC_CE5_LIBRARIES)
    string(REGEX REPLACE "\\.lib$" "" name ${lib})
    list(APPEND ZNC_CE5_DEFS ${ZNC_CE5_DIR}/${name}.def)
    list(APPEND ZNC_CE5_IMPORT_LIBS ${ZNC_CE5_DIR}/libce5_${name}.a)
endforeach()
add_custom_command(OUTPUT ${ZNC_CE5_DEFS}
    COMMAND ${CMAKE_COMMAND} -DMODE=def -DSURFACE=${ZNC_CE5_SURFACE} -DDIR=${ZNC_CE5_DIR}
            -DNM=${CMAKE_NM} -DPROBE=$<TARGET_OBJECTS:ce5_probe> -DPREFIX=${ZNC_CE5_PREFIX}
            -P ${ZNC_CE5_SCRIPT}
    DEPENDS ce5_probe $<TARGET_OBJECTS:ce5_probe> ${ZNC_CE5_SURFACE} ${ZNC_CE5_SCRIPT}
    COMMENT "Writing the .def files of the device libraries" VERBATIM)

# i686: the .def names carry @N for the objects' stdcall references, and --kill-at imports
# each by its plain name, as the device exports it.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(ZNC_DLLTOOL_ARGS -m i386 --kill-at)
else()
    set(ZNC_DLLTOOL_ARGS -m arm)
endif()
foreach(def lib IN ZIP_LISTS ZNC_CE5_DEFS ZNC_CE5_IMPORT_LIBS)
    add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_DLLTOOL} ${ZNC_DLLTOOL_ARGS} -d ${def} -l ${lib}
        DEPENDS ${def} VERBATIM)
endforeach()
add_custom_target(ce5_import_libs DEPENDS ${ZNC_CE5_IMPORT_LIBS})

# A device DLL of the check builds: nothing linked but the import libraries and the start-up
# and compiler helpers of tools/device/ce5-runtime.cpp (i686 takes its helpers, the stack
# probe and 64-bit division, from the compiler's own libgcc).
function(znc_device_dll target)
    znc_ce5_compile(${target})
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tools/device/ce5-runtime.cpp)
    add_dependencies(${target} ce5_import_libs)
    target_link_options(${target} PRIVATE -nostdlib)
    target_link_libraries(${target} PRIVATE ${ZNC_CE5_IMPORT_LIBS})
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        target_link_libraries(${target} PRIVATE gcc)
    endif()
endfunction()
