#!/bin/sh
# Rebuilds the skin artwork in res/ from tools/artgen.cpp.
#   tools/build-art.sh [PREVIEWDIR]   also writes 4x previews into PREVIEWDIR
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${TMPDIR:-/tmp}/zornav-artgen.$$
trap 'rm -f "$bin"' EXIT
${CXX:-g++} -std=c++17 -O2 -Wall -Wextra -o "$bin" "$root/tools/artgen.cpp"
if [ $# -ge 1 ]; then
    mkdir -p "$1"
    "$bin" "$root/res" "$1"
else
    "$bin" "$root/res"
fi
