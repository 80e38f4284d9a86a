#!/bin/sh
# Installs what building and running ZorNavCtrl needs on Debian (run as root): the MinGW-w64
# cross compilers, Wine, GoogleTest's sources, the stb headers, CMake and doxygen. Does
# nothing when everything is already there.
set -e
need=""
for pkg in cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 libgtest-dev libstb-dev doxygen; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
if [ -n "$need" ]; then
    echo "Installing:$need"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null
fi
