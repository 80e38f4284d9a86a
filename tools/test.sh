#!/bin/sh
# Sets up a fresh Debian machine if needed, builds everything, runs every test under Wine,
# and checks that the library also compiles for the 32-bit target.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
"$top/tools/build.sh"
# One program at a time: the programs share one Wine desktop, and focus and activation are
# desktop-wide, so tests that tap and focus windows must not run side by side.
(cd "$top/build" && ctest --output-on-failure)

# The installed package works for an application: install, build the minimal consumer
# against it, start it once.
rm -rf "$top/build/stage" "$top/build/consumer"
cmake --install "$top/build" --prefix "$top/build/stage" >/dev/null
cmake -S "$top/examples/consumer" -B "$top/build/consumer" -DCMAKE_PREFIX_PATH="$top/build/stage" \
    -DCMAKE_TOOLCHAIN_FILE="$top/build/stage/share/ZorNavCtrl/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build/consumer" >/dev/null
cp "$top/build/stage/bin/"*.dll "$top/build/consumer/"
(cd "$top/build/consumer" && "$top/build/wine-run.sh" ./consumer.exe --quit)
echo "The installed package builds and runs an application."
"$top/tools/docs.sh" # the reference; an undocumented public member fails here
cmake -S "$top" -B "$top/build-i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" \
    -DZNC_BUILD_TESTS=OFF -DZNC_BUILD_BENCH=OFF -DZNC_BUILD_GALLERY=OFF >/dev/null
cmake --build "$top/build-i686" -j"$(nproc)"
echo "All tests passed; the 32-bit library builds."
