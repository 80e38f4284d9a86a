#!/bin/sh
# Sets up a fresh Debian machine if needed, builds and installs the package alone (the library,
# the image library, the stand-in of the device's platform, the test kit) into build/stage, builds examples/settings and its own test
# against that installed package alone (in build/settings), and runs the test without a
# display: it goes through the screen with real taps, a drag, typing and keys, compares it
# with its golden picture and renders it to build/settings.png.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/ce5-i686.cmake" >/dev/null
cmake --build "$top/build" --target ZorNavCtrl imgblend navtestkit standin_import standin_coredll standin_commctrl -j"$(nproc)"
cmake --install "$top/build" --prefix "$top/build/stage" >/dev/null
cmake -S "$top/examples/settings" -B "$top/build/settings" -DCMAKE_PREFIX_PATH="$top/build/stage" \
    -DCMAKE_TOOLCHAIN_FILE="$top/build/stage/share/ZorNavCtrl/mingw-w64-i686.cmake" >/dev/null
cmake --build "$top/build/settings" -j"$(nproc)"
cd "$top/build/settings"
WINEPREFIX="$top/build/wineprefix" "$top/build/stage/share/ZorNavCtrl/wine-run.sh" \
    ./test_settings.exe "$top/build/settings.png"
