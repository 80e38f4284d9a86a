#!/bin/sh
# Generates the HTML reference of the public headers into build/docs/html (open index.html).
# Installs doxygen first when it is missing (as root, on Debian). Fails on any doxygen warning,
# so that an undocumented member fails the test command.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
if ! command -v doxygen >/dev/null 2>&1; then
    echo "Installing: doxygen"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends doxygen >/dev/null
fi
mkdir -p "$top/build/docs"
cd "$top"
ZNC_DOCS_OUT="$top/build/docs" doxygen docs/Doxyfile
echo "Reference: $top/build/docs/html/index.html"
