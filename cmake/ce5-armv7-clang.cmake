# The device check build for 32-bit ARM (tools/device-check.sh): clang compiles the library as it
# is configured for Windows CE 5.0, in Thumb-2, and lld links the two DLLs against import
# libraries made from tools/device/ce5-surface.txt alone. The device's own processor is older
# (ARMv4I) and its DLLs come from the SDK's compiler (README, "Building for the device"): these
# are checks that the device configuration compiles and links for ARM, not the device's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ARM)
set(ZNC_TRIPLET armv7-w64-windows-gnu)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${ZNC_TRIPLET})
set(CMAKE_CXX_COMPILER_TARGET ${ZNC_TRIPLET})
find_program(CMAKE_RC_COMPILER NAMES llvm-windres llvm-windres-14 HINTS /usr/lib/llvm-14/bin)
find_program(CMAKE_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 HINTS /usr/lib/llvm-14/bin)
find_program(CMAKE_NM NAMES llvm-nm llvm-nm-14 HINTS /usr/lib/llvm-14/bin)

# Debian has MinGW-w64's headers but no MinGW run time or C++ library for ARM. The headers serve
# every target; the library needs nothing but declarations from the C++ standard headers
# (<new>, <cstring>, ...), which the i686 compiler's serve as well for this other 32-bit target.
# Nothing is linked but the import libraries and tools/device/ce5-runtime.cpp.
set(ZNC_MINGW_INCLUDE /usr/share/mingw-w64/include)
file(GLOB ZNC_I686_CXX_INCLUDE LIST_DIRECTORIES true /usr/lib/gcc/i686-w64-mingw32/*-posix/include/c++)
list(SORT ZNC_I686_CXX_INCLUDE COMPARE NATURAL ORDER DESCENDING)
list(GET ZNC_I686_CXX_INCLUDE 0 ZNC_I686_CXX_INCLUDE)
set(CMAKE_C_FLAGS_INIT "-mthumb -isystem ${ZNC_MINGW_INCLUDE}")
set(CMAKE_CXX_FLAGS_INIT "-mthumb -nostdinc++ -isystem ${ZNC_I686_CXX_INCLUDE} -isystem ${ZNC_I686_CXX_INCLUDE}/i686-w64-mingw32 -isystem ${ZNC_MINGW_INCLUDE}")
set(CMAKE_RC_FLAGS_INIT "--target=armv7-w64-mingw32 -I${ZNC_MINGW_INCLUDE}")
# The C++ flags reach the link line as well, where the header options mean nothing.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -Wno-unused-command-line-argument")
# Without a run time no test program links: the compiler checks build a static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ZNC_DEVICE_CHECK ON)
