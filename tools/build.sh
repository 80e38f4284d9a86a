#!/bin/sh
# Configures and builds in build/ the library in its device configuration (i686), the stand-in of
# the device's platform it runs on under Wine, the tests, benchmarks and gallery.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/ce5-i686.cmake" >/dev/null
cmake --build "$top/build" -j"$(nproc)"
