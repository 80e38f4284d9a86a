# test_headers gets one generated source per public header, each including that header alone
# and failing to compile when the header needs anything before it or pulls in windowsx.h.
file(GLOB ZNC_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/*.h)
set(ZNC_HEADER_TUS)
foreach(header ${ZNC_PUBLIC_HEADERS})
    get_filename_component(name ${header} NAME_WE)
    set(tu ${CMAKE_CURRENT_BINARY_DIR}/headers/Alone_${name}.cpp)
    file(CONFIGURE OUTPUT ${tu} CONTENT "// Generated: ${name}.h on its own.
#include \"${name}.h\"
#ifdef _INC_WINDOWSX
#error ${name}.h pulls in windowsx.h
#endif
extern const char* const g_szAlone_${name} = \"${name}.h\";
")
    list(APPEND ZNC_HEADER_TUS ${tu})
endforeach()
cmake_language(DEFER CALL target_sources test_headers PRIVATE ${ZNC_HEADER_TUS})
cmake_language(DEFER CALL target_compile_definitions test_headers PRIVATE
               ZNC_INCLUDE_DIR="${PROJECT_SOURCE_DIR}/include")
