#!/bin/sh
# Installs what building and running ZorNavCtrl needs on Debian (run as root): the MinGW-w64
# i686 cross compilers, Wine (its 64-bit loader, and 32-bit Wine for the i686 programs),
# GoogleTest's sources, the stb headers, CMake, the font the golden images are drawn with, doxygen, and clang, lld and
# the LLVM tools (llvm-dlltool, llvm-windres, llvm-readobj, llvm-cxxfilt, llvm-undname) for the
# device check's ARM build and MSVC-mode compile, and clang's sanitizer and libFuzzer run times for
# the native checks of the PNG path (tools/sanitize.sh). Does nothing when everything is already there.
set -e
need=""
for pkg in cmake make g++-mingw-w64-i686 wine wine64 wine32:i386 libgtest-dev libstb-dev fonts-dejavu-core doxygen \
    clang lld llvm libclang-rt-dev; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
if [ -n "$need" ]; then
    echo "Installing:$need"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null
fi
