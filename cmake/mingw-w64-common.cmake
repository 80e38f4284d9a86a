set(CMAKE_C_COMPILER ${ZNC_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZNC_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZNC_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZNC_TRIPLET})
# Packages for the target installed elsewhere (-DCMAKE_PREFIX_PATH=<prefix>) count as roots of
# their own: searches stay confined to target roots, yet find them.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable and DLL carries its own C/C++ run time, so nothing but our two DLLs has to
# sit next to a program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
