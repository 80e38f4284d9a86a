#!/bin/sh
# Sets up a fresh Debian machine if needed, checks the device build against the Windows CE 5.0
# API, builds everything and runs every test under Wine against the library built for the device
# with the stand-in of the device's platform beside it, and builds and starts an application and
# runs the settings screen's own test against the installed package.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"

# The device build first: it fails fastest and matters most.
"$top/tools/device-check.sh" "$top/build-device"

# The PNG path natively under the sanitizers, over the hostile PNGs, then fuzzed (about 70 s).
"$top/tools/sanitize.sh"

"$top/tools/build.sh"
# One program at a time: the programs share one Wine desktop, and focus and activation are
# desktop-wide, so tests that tap and focus windows must not run side by side.
(cd "$top/build" && ctest --output-on-failure)

# The installed package works for an application: install it, build the minimal consumer
# against it (its build puts both DLLs next to it) and start it once with the package's
# runner, and the README's first screen likewise; build the settings and destination screens
# and their own tests, written with the package's test kit, and run those tests. The runner
# uses the build tree's Wine prefix instead of making one.
rm -rf "$top/build/stage" "$top/build/consumer" "$top/build/settings" "$top/build/destinations" \
    "$top/build/first-screen"
cmake --install "$top/build" --prefix "$top/build/stage" >/dev/null
# Every C++ and CMake snippet of the documentation: the README's first screen extracted into
# build/doc-snippets (built and started below), the others found in the code they mirror.
"$top/tools/doc-snippets.sh" "$top/build/doc-snippets"
export WINEPREFIX="$top/build/wineprefix"
run="$top/build/stage/share/ZorNavCtrl/wine-run.sh"
for example in examples/consumer examples/settings examples/destinations \
               build/doc-snippets/first-screen; do
    dir="$top/build/$(basename "$example")"
    cmake -S "$top/$example" -B "$dir" -DCMAKE_PREFIX_PATH="$top/build/stage" \
        -DCMAKE_TOOLCHAIN_FILE="$top/build/stage/share/ZorNavCtrl/mingw-w64-i686.cmake" >/dev/null
    cmake --build "$dir" -j"$(nproc)" >/dev/null
done
(cd "$top/build/consumer" && "$run" ./consumer.exe --quit)
(cd "$top/build/first-screen" && "$run" ./myapp.exe --quit)
echo "The installed package builds and runs an application."
(cd "$top/build/settings" && ctest --output-on-failure)
(cd "$top/build/destinations" && ctest --output-on-failure)
"$top/tools/docs.sh" # the reference; an undocumented public member fails here
echo "All tests passed against the device build under the stand-in platform; the device build checks out."
