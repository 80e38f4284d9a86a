#!/bin/sh
# Sets up a fresh Debian machine if needed, builds the library and the gallery only, and renders
# every control to build/gallery.png (and the extra frames build/gallery-*.png). With --show the
# window also stays open on the X display that DISPLAY names.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
show=0
if [ "${1:-}" = "--show" ]; then
    if [ -z "${DISPLAY:-}" ]; then
        echo "gallery: --show needs an X display, and DISPLAY is not set." >&2
        echo "  Start one (for example: Xvfb :1 & DISPLAY=:1 tools/gallery.sh --show) or run" >&2
        echo "  tools/gallery.sh without --show to render build/gallery.png headless." >&2
        exit 2
    fi
    show=1
fi
"$top/tools/setup-debian.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/ce5-i686.cmake" >/dev/null
cmake --build "$top/build" --target gallery -j"$(nproc)"
cd "$top/build/bin"
if [ "$show" = 1 ]; then
    ZNC_WINE_DISPLAY=1 ../wine-run.sh ./gallery.exe "$top/build/gallery.png" --show
else
    ../wine-run.sh ./gallery.exe "$top/build/gallery.png"
fi
