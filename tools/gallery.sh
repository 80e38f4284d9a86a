#!/bin/sh
# Sets up a fresh Debian machine if needed, builds, and renders the gallery to
# build/gallery.png. With --show (and DISPLAY set) the window also stays open on the display.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
"$top/tools/build.sh"
cd "$top/build/bin"
if [ "${1:-}" = "--show" ] && [ -n "${DISPLAY:-}" ]; then
    ZNC_WINE_DISPLAY=1 ../wine-run.sh ./gallery.exe "$top/build/gallery.png" --show
else
    ../wine-run.sh ./gallery.exe "$top/build/gallery.png"
fi
