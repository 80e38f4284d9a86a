# ce5-imports.cmake - the one reader of ce5-surface.txt: the libraries it names, and the .def
# files of the device check builds (cmake/Device.cmake runs it at configure and build time).
#   cmake -DMODE=libraries -DSURFACE=<list> -P ce5-imports.cmake
#       prints the libraries the list names (coredll.lib;commctrl.lib), as a CMake list;
#   cmake -DMODE=probe -DSURFACE=<list> -DDIR=<dir> -P ce5-imports.cmake
#       writes <dir>/ce5-probe.c, which takes the address of every listed call;
#   cmake -DMODE=def -DSURFACE=<list> -DDIR=<dir> -DNM=<nm> -DPROBE=<object> [-DPREFIX=_]
#         -P ce5-imports.cmake
#       reads the names the compiler gave those calls in the probe's object and writes
#       <dir>/<library>.def for every library of the list;
#   cmake -DMODE=standin -DSURFACE=<list> -DDIR=<dir> -DNM=<nm> -DBODIES=<static library>
#         -DIMPLIBS=<import library;...> [-DPREFIX=_] -P ce5-imports.cmake
#       writes <dir>/standin-<library>.def for the stand-in of every library of the list: each
#       call exported as a counting entry (Cnt_<name>, in <dir>/standin-counted.c) that goes on
#       to the stand-in's body for it (Ce5_<name> in BODIES) or to the desktop DLL whose import
#       library has it; and <dir>/standin-tests.def, what programs that test with the stand-in
#       may call: its own calls (StandIn*) and the device's services that no desktop DLL has.

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

if(MODE STREQUAL "libraries")
    list(REMOVE_DUPLICATES LIBS)
    list(TRANSFORM LIBS APPEND .lib)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo_append "${LIBS}")
    return()
endif()

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

# The symbols an object or library defines (or, with -u, uses), one a list entry, each without
# the i686 PREFIX.
function(symbols_of out file)
    execute_process(COMMAND ${NM} ${ARGN} ${file} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${NM} ${ARGN} ${file} failed")
    endif()
    string(REGEX MATCHALL "[^ \t\r\n]+[\r\n]" found "${listing}")
    set(names)
    foreach(symbol IN LISTS found)
        string(STRIP ${symbol} symbol)
        string(REGEX REPLACE "^__imp_" "" symbol ${symbol})
        if(PREFIX AND symbol MATCHES "^${PREFIX}")
            string(LENGTH "${PREFIX}" length)
            string(SUBSTRING ${symbol} ${length} -1 symbol)
        endif()
        list(APPEND names ${symbol})
    endforeach()
    set(${out} ${names} PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "standin")
    symbols_of(bodies ${BODIES} --defined-only -g)
    set(own "")
    set(forwarded "")
    set(services "")
    foreach(symbol IN LISTS bodies)
        if(symbol MATCHES "^Ce5_([A-Za-z0-9_]+)(@[0-9]+)?$")
            set(body_${CMAKE_MATCH_1} ${symbol})
        elseif(symbol MATCHES "^StandIn[A-Za-z0-9_]+$")
            string(APPEND own "${symbol}\n")
        endif()
    endforeach()
    # Which desktop DLL has each call that has no body.
    foreach(implib IN LISTS IMPLIBS)
        get_filename_component(dll ${implib} NAME_WE)
        string(REGEX REPLACE "^lib" "" dll ${dll})
        symbols_of(imported ${implib} -g)
        foreach(symbol IN LISTS imported)
            string(REGEX REPLACE "@[0-9]+$" "" name ${symbol})
            if(NOT DEFINED dll_${name})
                set(dll_${name} ${dll})
                set(sym_${name} ${symbol})
            endif()
        endforeach()
    endforeach()
    # Every call enters the stand-in at a counting entry of its own (one instruction and a jump
    # while nothing counts), which goes on to the body or to the desktop DLL's call. The entries
    # are i686 code: the stand-in exists at 32 bits alone.
    if(NOT PREFIX STREQUAL "_")
        message(FATAL_ERROR "the stand-in's counting entries are written for i686 (PREFIX _)")
    endif()
    set(counted "/* Generated from ${SURFACE} by ce5-imports.cmake: the stand-in's entry for every\n")
    string(APPEND counted "   device call. While standin_counting is set, each entry tells standin_count_call\n")
    string(APPEND counted "   its call's index, the caller's return address and the arguments (on the stack,\n")
    string(APPEND counted "   cdecl and stdcall alike), then jumps to the call itself. */\n")
    set(names_text "")
    set(entries "")
    set(index 0)
    set(defs)
    foreach(name lib IN ZIP_LISTS NAMES LIBS)
        if(NOT lib IN_LIST defs)
            list(APPEND defs ${lib})
            set(text_${lib} "LIBRARY ${lib}.dll\nEXPORTS\n")
        endif()
        if(DEFINED body_${name} AND NOT DEFINED dll_${name})
            # A service of the device alone: programs that test with the stand-in may call it.
            string(REGEX REPLACE "^Ce5_" "" import ${body_${name}})
            string(APPEND services "${import}\n")
        endif()
        if(DEFINED body_${name})
            set(target "${PREFIX}${body_${name}}")
        elseif(DEFINED dll_${name})
            set(target "*__imp_${PREFIX}${sym_${name}}")
        else()
            message(FATAL_ERROR "${name}: the stand-in has no body for it and no desktop DLL exports it")
        endif()
        string(APPEND entries "\".globl ${PREFIX}Cnt_${name}\\n${PREFIX}Cnt_${name}:\\n\"\n")
        string(APPEND entries "\"    cmpl $0, ${PREFIX}standin_counting\\n    je 1f\\n\"\n")
        string(APPEND entries "\"    pushl $${index}\\n    call ${PREFIX}standin_count_call\\n    addl $4, %esp\\n\"\n")
        string(APPEND entries "\"1:  jmp ${target}\\n\"\n")
        string(APPEND names_text "    \"${name}\",\n")
        math(EXPR index "${index} + 1")
        if(lib STREQUAL "coredll")
            string(APPEND text_${lib} "${name} = Cnt_${name}\n")
        else()
            # Every entry lives in coredll.dll, which keeps the one ledger and the counts; the
            # other libraries forward to it.
            string(APPEND text_${lib} "${name} = coredll.Cnt_${name}\n")
            string(APPEND forwarded "Cnt_${name}\n")
        endif()
    endforeach()
    string(APPEND counted "const char* const standin_call_names[] = {\n${names_text}    0\n};\n\n")
    string(APPEND counted "__asm__(\".text\\n\"\n${entries});\n")
    write_if_changed(${DIR}/standin-counted.c "${counted}")
    string(APPEND text_coredll "${own}${forwarded}")
    foreach(lib IN LISTS defs)
        write_if_changed(${DIR}/standin-${lib}.def "${text_${lib}}")
    endforeach()
    write_if_changed(${DIR}/standin-tests.def "LIBRARY coredll.dll\nEXPORTS\n${own}${services}")
    return()
endif()

if(NOT MODE STREQUAL "def")
    message(FATAL_ERROR "MODE must be libraries, probe, def or standin")
endif()

# Imports go through __imp_; stdcall names carry @N as well.
symbols_of(symbols ${PROBE} -u)
set(exported)
foreach(symbol IN LISTS symbols)
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
