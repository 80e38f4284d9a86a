#!/bin/sh
# Sets up a fresh Debian machine if needed, builds everything, runs every test under Wine at
# 64 and at 32 bits, checks the device build against the Windows CE 5.0 API, and builds and
# starts an application against the installed package.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"

# The device build first: it fails fastest and matters most.
"$top/tools/device-check.sh" "$top/build-device"

"$top/tools/build.sh"
# One program at a time: the programs share one Wine desktop, and focus and activation are
# desktop-wide, so tests that tap and focus windows must not run side by side.
(cd "$top/build" && ctest --output-on-failure)

# The same tests at 32 bits, the device's pointer and LONG size. Only a summary line unless
# something fails.
"$top/tools/test32.sh"

# The installed package works for an application: install, build the minimal consumer
# against it, start it once.
rm -rf "$top/build/stage" "$top/build/consumer"
cmake --install "$top/build" --prefix "$top/build/stage" >/dev/null
cmake -S "$top/examples/consumer" -B "$top/build/consumer" -DZorNavCtrl_DIR="$top/build/stage/lib/cmake/ZorNavCtrl" \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build/consumer" >/dev/null
cp "$top/build/stage/bin/"*.dll "$top/build/consumer/"
(cd "$top/build/consumer" && "$top/build/wine-run.sh" ./consumer.exe --quit)
echo "The installed package builds and runs an application."
echo "All tests passed at 64 and 32 bits; the device build checks out."
