# ce5-imports.cmake - the .def files of the device check builds, from ce5-surface.txt
# (cmake/Device.cmake runs it at build time).
#   cmake -DMODE=probe -DSURFACE=<list> -DDIR=<dir> -P ce5-imports.cmake
#       writes <dir>/ce5-probe.c, which takes the address of every listed call;
#   cmake -DMODE=def -DSURFACE=<list> -DDIR=<dir> -DNM=<nm> -DPROBE=<object> [-DPREFIX=_]
#         -P ce5-imports.cmake
#       reads the names the compiler gave those calls in the probe's object and writes
#       <dir>/<library>.def for every library of the list.

cmake_minimum_required(VERSION 3.20)

# The rows "name | library.lib | page", as the lists NAMES and LIBS.
file(STRINGS ${SURFACE} rows REGEX "^[A-Za-z_][A-Za-z0-9_]*[ \t]*\\|")
set(NAMES)
set(LIBS)
foreach(row IN LISTS rows)
    if(NOT row MATCHES "^([A-Za-z0-9_]+)[ \t]*\\|[ \t]*([A-Za-z0-9_]+)\\.lib[ \t]*\\|")
        message(FATAL_ERROR "${SURFACE}: not \"name | library.lib | page\": ${row}")
    endif()
    list(APPEND NAMES ${CMAKE_MATCH_1})
    string(TOLOWER ${CMAKE_MATCH_2} lib)
    list(APPEND LIBS ${lib})
endforeach()

# Writes a file only when its text changes, so that nothing downstream is rebuilt for nothing.
function(write_if_changed path text)
    if(EXISTS ${path})
        file(READ ${path} old)
        if(old STREQUAL text)
            file(TOUCH_NOCREATE ${path})
            return()
        endif()
    endif()
    file(WRITE ${path} "${text}")
endfunction()

if(MODE STREQUAL "probe")
    set(text "/* Generated from ${SURFACE}: the address of every device call, taken under the\n")
    string(APPEND text "   device's prototypes, so that the object names each call as the DLLs import it. */\n")
    string(APPEND text "#include <sipapi.h>\n#include <dbgapi.h>\n\ntypedef void (*Ce5Call)(void);\n\n")
    string(APPEND text "void Ce5Probe(Ce5Call* pCalls)\n{\n")
    foreach(name IN LISTS NAMES)
        string(APPEND text "    *pCalls++ = (Ce5Call)&${name};\n")
    endforeach()
    string(APPEND text "}\n")
    write_if_changed(${DIR}/ce5-probe.c "${text}")
    return()
endif()

if(NOT MODE STREQUAL "def")
    message(FATAL_ERROR "MODE must be probe or def")
endif()

execute_process(COMMAND ${NM} -u ${PROBE} OUTPUT_VARIABLE undefined RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} -u ${PROBE} failed")
endif()
string(REGEX MATCHALL "[^ \t\r\n]+[\r\n]" symbols "${undefined}")

# Imports go through __imp_; i686 names carry the PREFIX _, and stdcall names @N as well.
set(exported)
foreach(symbol IN LISTS symbols)
    string(STRIP ${symbol} symbol)
    string(REGEX REPLACE "^__imp_" "" symbol ${symbol})
    if(PREFIX AND symbol MATCHES "^${PREFIX}")
        string(LENGTH "${PREFIX}" length)
        string(SUBSTRING ${symbol} ${length} -1 symbol)
    endif()
    string(REGEX REPLACE "@[0-9]+$" "" name ${symbol})
    set(exported_${name} ${symbol})
endforeach()

set(defs)
foreach(name lib IN ZIP_LISTS NAMES LIBS)
    if(NOT DEFINED exported_${name})
        message(FATAL_ERROR "${name}: the probe does not call it (a macro or an inline function in the device headers?)")
    endif()
    if(NOT lib IN_LIST defs)
        list(APPEND defs ${lib})
        set(text_${lib} "LIBRARY ${lib}.dll\nEXPORTS\n")
    endif()
    string(APPEND text_${lib} "${exported_${name}}\n")
endforeach()
foreach(lib IN LISTS defs)
    write_if_changed(${DIR}/${lib}.def "${text_${lib}}")
endforeach()
