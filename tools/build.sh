#!/bin/sh
# Configures and builds the 64-bit library, tests, benchmarks and gallery in build/.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build" -j"$(nproc)"
