#!/bin/sh
# The device build, checked on every run: the library's own CMake build in its Windows CE 5.0
# configuration, with two compilers (cmake/ce5-i686.cmake: MinGW-w64's i686 gcc;
# cmake/ce5-armv7-clang.cmake: clang for 32-bit ARM, Thumb-2, linked by lld). Both compile every
# library source against the desktop headers narrowed to the device's reference
# (tools/device/ce5.h) and link the two DLLs against import libraries made from
# tools/device/ce5-surface.txt alone, so that a call the device lacks fails the link. The ARM
# DLLs must then export what the desktop DLLs export, one for one, less the desktop's stand-ins,
# test hooks and bridges. Prints one line per configuration; the build's output only on failure.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$top/build-device}"
mkdir -p "$out"

# Configures and builds one configuration in $out/$1 with the toolchain file $2; the log goes
# to $out/$1/build.log.
build() {
    dir="$out/$1"
    mkdir -p "$dir"
    shift
    toolchain=$1
    shift
    if ! { cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" "$@" &&
           nice cmake --build "$dir" -j"$(nproc)"; } >"$dir/build.log" 2>&1; then
        cat "$dir/build.log"
        echo "Device check: the build in $dir failed." >&2
        exit 1
    fi
}

# The sources compiled for the two DLLs (the library's, not the check's run-time support).
sources() {
    find "$1/CMakeFiles/ZorNavCtrl.dir" "$1/imgblend/CMakeFiles/imgblend.dir" \
        \( -name '*.cpp.obj' -o -name '*.c.obj' \) ! -name 'ce5-runtime.cpp.obj' | wc -l
}

# The machine type of the configuration's DLLs (both, when they differ).
machine() {
    for dll in "$1"/bin/*.dll; do
        llvm-readobj --file-headers "$dll" | sed -n 's/^ *Machine: *//p'
    done | sort -u | paste -sd' ' -
}

# The exports of a DLL, demangled, one a line, sorted (stdcall's @N taken off). The type
# information the desktop exports is left out: the device builds compile without RTTI.
exports() {
    llvm-readobj --coff-exports "$1" | sed -n 's/^ *Name: *\([^ ].*\)$/\1/p' | sed 's/@[0-9]*$//' |
        llvm-cxxfilt | grep -v '^typeinfo ' | LC_ALL=C sort
}

summary() {
    dlls=$(ls "$out/$1/bin/"*.dll | wc -l)
    calls=$(grep -v -e '^LIBRARY' -e '^EXPORTS' "$out/$1/ce5/"*.def | wc -l)
    libs=$(cd "$out/$1/ce5" && ls *.def | sed 's/\.def$//' | paste -sd, - | sed 's/,/, /g')
    echo "Device check, $2: $(sources "$out/$1") sources compiled, $dlls DLLs linked against the" \
        "import libraries of $libs only ($calls calls), $(machine "$out/$1")."
}

start=$(date +%s)
build i686 ce5-i686.cmake
build arm ce5-armv7-clang.cmake
# The desktop DLLs at 32 bits, whose exports the device's must match: their C++ names are
# decorated for the same 32-bit types.
build desktop-i686 mingw-w64-i686.cmake -DZNC_BUILD_TESTS=OFF -DZNC_BUILD_BENCH=OFF \
    -DZNC_BUILD_GALLERY=OFF

# Exported by the desktop ZorNavCtrl.dll alone: its stand-ins for the services the device has in coredll
# (src/platform/NavPlatform.h); the test hooks (src/hooks/NavTestHooks.h) and what they reach
# (ZNC_TEST_API); the members that only the bridges compile, declared for both in the public
# headers. A name ending in :: stands for every member of that class.
zornav_only='GetProcAddressW
NKDbgPrintfW
SipGetInfo
SipShowIM
TransparentImage
NavAllocationCount
NavComboFailTextBuffers
NavFailAllocations
NavGdiLiveObjects
NavLoadSharedImages
NavReleaseSharedImages
NavScrollBarPaint
NavScrollBarThumbTop
NavSetBridges
NavSetDebugHook
NavSharedBarBitmap
NavSharedFace
NavSipLastShowFlag
NavSipShowCount
NavSipSimulate
nav::LoadBitmapResource
nav::LoadImageListResource
nav::PaintBuffer::
nav::detail::AllocationGoesAhead
nav::detail::CountAcquire
nav::detail::CountRelease
CNavListCtrl::OnNcCalcSize
CNavListCtrl::OnStyleChange
CNavStatic::CallOldProcQuietly
CNavStatic::OnNcHitTest'
# The image library's test hooks (imgblend/ImgBlendHooks.h).
imgblend_only='ImgBlendAllocationCount
ImgBlendFailAllocations'
compared=""
for dll in ZorNavCtrl imgblend; do
    arm="$out/arm/$dll"
    exports "$out/desktop-i686/bin/$dll.dll" >"$arm.desktop-exports.txt"
    exports "$out/arm/bin/$dll.dll" >"$arm.exports.txt"
    # The desktop's exports less those named (before their parameters) in the list above.
    if [ "$dll" = ZorNavCtrl ]; then only=$zornav_only; else only=$imgblend_only; fi
    echo "$only" | awk '
        NR == FNR { only[$0] = 1; next }
        { name = $0; sub(/\(.*/, "", name); member = name; sub(/[^:]*$/, "", member)
          if (name in only) { seen[name] = 1; next }
          if (member in only) { seen[member] = 1; next }
          print }
        END { for (name in only) if (!(name in seen)) { print "unseen " name > "/dev/stderr"; bad = 1 }
              exit bad }' - "$arm.desktop-exports.txt" >"$arm.expected-exports.txt" 2>"$arm.unseen.txt" || {
        sed 's/^unseen /  /' "$arm.unseen.txt" >&2
        echo "Device check: no longer exported by the desktop $dll.dll; take them off the list in tools/device-check.sh." >&2
        exit 1
    }
    if ! diff -u "$arm.expected-exports.txt" "$arm.exports.txt" >"$arm.exports.diff"; then
        cat "$arm.exports.diff"
        echo "Device check: the ARM $dll.dll does not export what the desktop one does (- desktop only, + ARM only)." >&2
        exit 1
    fi
    compared="$compared, $dll.dll $(wc -l <"$arm.exports.txt") of the desktop's $(wc -l <"$arm.desktop-exports.txt")"
done

summary i686 "i686 gcc"
summary arm "ARM clang, Thumb-2"
echo "Device check: the ARM DLLs export the desktop DLLs' members one for one:${compared#,}" \
    "(the rest: the desktop's stand-ins, test hooks and bridges); $(($(date +%s) - start)) s."
