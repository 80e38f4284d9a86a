#!/bin/sh
# Sets up a fresh Debian machine if needed, builds and installs the library into build/stage,
# builds examples/settings against that installed package alone (in build/settings), and
# renders the settings screen to build/settings.png without a display.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build" --target ZorNavCtrl imgblend -j"$(nproc)"
cmake --install "$top/build" --prefix "$top/build/stage" >/dev/null
cmake -S "$top/examples/settings" -B "$top/build/settings" -DCMAKE_PREFIX_PATH="$top/build/stage" \
    -DCMAKE_TOOLCHAIN_FILE="$top/build/stage/share/ZorNavCtrl/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build/settings" -j"$(nproc)"
cp "$top/build/stage/bin/"*.dll "$top/build/settings/"
cd "$top/build/settings"
"$top/build/wine-run.sh" ./settings.exe "$top/build/settings.png"
