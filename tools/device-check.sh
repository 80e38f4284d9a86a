#!/bin/sh
# The device build, checked on every run: compiles every library source (the controls and the
# image library) for the 32-bit target with _WIN32_WCE=0x500 against the desktop headers
# narrowed to what the Windows CE 5.0 reference documents (tools/device/ce5.h and the stand-in
# SDK headers in tools/device/include), then compares every system symbol the objects call
# with the list of documented calls in tools/device/ce5-surface.txt. Fails on a compile error
# or on a call that is not listed. Prints one summary line; details only on failure.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
dev="$top/tools/device"
out="${1:-$top/build-device}"
cc=i686-w64-mingw32-gcc-posix
cxx=i686-w64-mingw32-g++-posix
rm -rf "$out"
mkdir -p "$out"
common="-D_WIN32_WCE=0x500 -DUNDER_CE -DNDEBUG -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -O1
    -I$dev/include -I$top/include -I$top/src -I$top/common -I$top/res -I$top/imgblend/include
    -I/usr/include/stb -include $dev/ce5.h -fno-exceptions -Wall"
log="$out/compile.log"
n=0
for src in $(cd "$top" && find src imgblend -name '*.cpp' -o -name '*.c' | sort); do
    obj="$out/$(echo "$src" | tr / _).o"
    case "$src" in
    imgblend/*) defs="-DIMGBLEND_BUILDING" ;;
    *) defs="-DZNC_BUILDING" ;;
    esac
    case "$src" in
    *.c) compiler="$cc -std=c99 -Werror=implicit-function-declaration" ;;
    *) compiler="$cxx -std=c++17 -fno-rtti" ;;
    esac
    if ! $compiler $common $defs -c "$top/$src" -o "$obj" >>"$log" 2>&1; then
        cat "$log"
        echo "Device build: $src does not compile for Windows CE 5.0." >&2
        exit 1
    fi
    n=$((n + 1))
done

# Symbols the objects call but none of them defines, with the i686 decoration taken off
# (__imp__Name@8 -> Name, _Name -> Name; the CE5_ prefix of the device prototypes in ce5.h).
plain() { sed -e 's/^__imp_//' -e 's/^_//' -e 's/@[0-9]*$//' -e 's/^CE5_//' | sort -u; }
i686-w64-mingw32-nm -u "$out"/*.o | awk 'NF==2 {print $2}' | plain >"$out/undefined.txt"
i686-w64-mingw32-nm --defined-only "$out"/*.o | awk 'NF==3 {print $3}' | plain >"$out/defined.txt"
comm -23 "$out/undefined.txt" "$out/defined.txt" >"$out/calls.txt"
sed -e 's/#.*//' -e 's/|.*//' -e 's/[[:space:]]//g' "$dev/ce5-surface.txt" | grep -v '^$' |
    sort -u >"$out/listed.txt"
unlisted=$(comm -23 "$out/calls.txt" "$out/listed.txt")
if [ -n "$unlisted" ]; then
    echo "Device build: calls not in tools/device/ce5-surface.txt (add each with its CE 5.0 reference page, or do without it on the device):" >&2
    echo "$unlisted" | sed 's/^/  /' >&2
    exit 1
fi
echo "Device build: $n sources compile for Windows CE 5.0; $(wc -l <"$out/calls.txt") system calls, all documented."
