#!/bin/sh
# Builds the library, the image library and the tests for i686 in build-i686 and runs every
# test program under 32-bit Wine. Prints one summary line; the compiler's and the tests' output
# only when something fails.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build-i686"
log="$out/test32.log"
mkdir -p "$out"
start=$(date +%s)
if ! { cmake -S "$top" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" \
        -DZNC_BUILD_BENCH=OFF -DZNC_BUILD_GALLERY=OFF &&
       cmake --build "$out" -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log"
    echo "32-bit build failed." >&2
    exit 1
fi
if ! (cd "$out" && ctest --output-on-failure) >>"$log" 2>&1; then
    cat "$log"
    echo "32-bit tests failed." >&2
    exit 1
fi
summary=$(grep -E 'tests passed' "$log" | tail -n 1)
echo "32-bit: $summary ($(($(date +%s) - start)) s)"
