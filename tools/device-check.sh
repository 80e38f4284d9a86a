#!/bin/sh
# The device build, checked on every run: the library's own CMake build in its Windows CE 5.0
# configuration, with two compilers (cmake/ce5-i686.cmake: MinGW-w64's i686 gcc;
# cmake/ce5-armv7-clang.cmake: clang for 32-bit ARM, Thumb-2, linked by lld). Both compile every
# library source against the desktop headers narrowed to the device's reference
# (tools/device/ce5.h) and link the two DLLs against import libraries made from
# tools/device/ce5-surface.txt alone, so that a call the device lacks fails the link (the i686
# build here makes the two DLLs alone, as they ship: no test seam). The ARM DLLs must then
# export what the i686 DLLs export, one for one. Last, the SDK compilers' front end: clang in MSVC mode compiles the
# same sources and the public headers, and the names an MSVC-built DLL exports must be the ones
# checked in (tools/device/*-msvc-*-exports.txt). Prints one line per configuration; the build's
# output only on failure.
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

# The machine type of the configuration's two DLLs (both, when they differ).
machine() {
    for dll in "$1"/bin/ZorNavCtrl.dll "$1"/bin/imgblend.dll; do
        llvm-readobj --file-headers "$dll" | sed -n 's/^ *Machine: *//p'
    done | sort -u | paste -sd' ' -
}

# The exports of a DLL, demangled, one a line, sorted (stdcall's @N taken off).
exports() {
    llvm-readobj --coff-exports "$1" | sed -n 's/^ *Name: *\([^ ].*\)$/\1/p' | sed 's/@[0-9]*$//' |
        llvm-cxxfilt | LC_ALL=C sort
}

summary() {
    dlls=$(ls "$out/$1/bin/ZorNavCtrl.dll" "$out/$1/bin/imgblend.dll" | wc -l)
    calls=$(grep -v -e '^LIBRARY' -e '^EXPORTS' "$out/$1/ce5/"*.def | wc -l)
    libs=$(cd "$out/$1/ce5" && ls *.def | sed 's/\.def$//' | paste -sd, - | sed 's/,/, /g')
    echo "Device check, $2: $(sources "$out/$1") sources compiled, $dlls DLLs linked against the" \
        "import libraries of $libs only ($calls calls), $(machine "$out/$1")."
}

start=$(date +%s)
# Its compile commands are the ones the MSVC-mode compile below repeats.
build i686 ce5-i686.cmake -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZNC_BUILD_TESTS=OFF \
    -DZNC_BUILD_BENCH=OFF -DZNC_BUILD_GALLERY=OFF
build arm ce5-armv7-clang.cmake

# Both configurations are the device's: the two compilers must export the same members.
compared=""
for dll in ZorNavCtrl imgblend; do
    arm="$out/arm/$dll"
    exports "$out/i686/bin/$dll.dll" >"$arm.i686-exports.txt"
    exports "$out/arm/bin/$dll.dll" >"$arm.exports.txt"
    if ! diff -u "$arm.i686-exports.txt" "$arm.exports.txt" >"$arm.exports.diff"; then
        cat "$arm.exports.diff"
        echo "Device check: the ARM $dll.dll does not export what the i686 one does (- i686 only, + ARM only)." >&2
        exit 1
    fi
    compared="$compared, $dll.dll $(wc -l <"$arm.exports.txt")"
done

summary i686 "i686 gcc"
summary arm "ARM clang, Thumb-2"
echo "Device check: the ARM and i686 DLLs export the same members:${compared#,};" \
    "$(($(date +%s) - start)) s."

# ---- The SDK compilers' front end ----
# clang in MSVC mode, reading C++ as Visual Studio 2005 does (-fms-compatibility-version=14.00),
# compiles every source of the two DLLs with the i686 device build's own commands (definitions,
# include path, tools/device/ce5.h, C++03/C89, warnings as errors), for x86 and for ARM (here
# Thumb-2), the device's processor. Only the compiler and its target change.
# MinGW-w64's headers stand in for the SDK's: their _MSC_VER branches do not compile, so they are
# read as by GCC 4.2 (the version clang gives itself in GNU mode), and ce5.h gives __forceinline
# back to the compiler. Every public header is compiled alone as well, as an application
# includes it. The names the objects mark for export, as the linker writes them into the DLL
# (on i686 a plain C name loses its leading underscore), must be the ones checked in: an SDK
# user compares them with the export table of the DLL the SDK built (README).
msvc_start=$(date +%s)
cxx_include=$(ls -d /usr/lib/gcc/i686-w64-mingw32/*-posix/include/c++ | sort -V | tail -n 1)
mingw_include=/usr/share/mingw-w64/include
msvc_jobs="$out/msvc-jobs.txt"
: >"$msvc_jobs"
# One shell command a line for each job: $1 names the configuration (i686, arm), $2 the target,
# $3 the processor macro of MinGW's headers.
msvc_jobs() {
    dir="$out/msvc-$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    front="--target=$2 -fms-compatibility-version=14.00 -D__GNUC__=4 -D__GNUC_MINOR__=2 -D$3"
    cxx="clang++ -nostdinc++ -isystem $cxx_include -isystem $cxx_include/i686-w64-mingw32 -isystem $mingw_include $front"
    cc="clang -isystem $mingw_include $front"
    # The library's sources: each compile command of the two DLLs in the i686 build (JSON
    # strings unescaped), less the check's run time.
    sed -n -e 's/^ *"directory": "\(.*\)",$/\1/p' -e 's/^ *"command": "\(.*\)",$/\1/p' \
        "$out/i686/compile_commands.json" | sed -e 's/\\"/"/g' -e 's/\\\\/\\/g' | paste - - |
        grep -e '/ZorNavCtrl\.dir/' -e '/imgblend\.dir/' | grep -v ce5-runtime |
        while IFS="$(printf '\t')" read -r cwd command; do
            # "<compiler> <flags> -o <object> -c <source>"; the object goes to $dir/<DLL>/.
            flags=${command#* }
            object=${flags##* -o }
            object=${object%% *}
            src=${flags##* -c }
            flags=${flags% -o *}
            dll=${object#CMakeFiles/}
            dll=${dll%%.dir/*}
            object="$dir/$dll/${object#*.dir/}"
            case $src in *.c) compiler=$cc ;; *) compiler=$cxx ;; esac
            echo "mkdir -p '${object%/*}' && cd '$cwd' && $compiler $flags -o '$object' -c $src >'$object.log' 2>&1"
        done >>"$msvc_jobs"
    # The public headers, each alone, as an application includes them (no _BUILDING).
    for header in "$top"/include/*.h "$top"/imgblend/include/*.h; do
        name=${header##*/}
        echo "mkdir -p '$dir/headers' && echo '#include \"$name\"' | $cxx -std=c++98 -fno-rtti -fno-exceptions" \
            "-Wall -Wextra -Wno-unused-parameter -pedantic-errors -Werror -DUNICODE -D_UNICODE" \
            "-D_WIN32_WCE=0x500 -DUNDER_CE -include '$top/tools/device/ce5.h' -I'$top/tools/device/include'" \
            "-I'$top/include' -I'$top/imgblend/include' -fsyntax-only -x c++ - >'$dir/headers/$name.log' 2>&1"
    done >>"$msvc_jobs"
}
msvc_jobs i686 i686-pc-windows-msvc _X86_
msvc_jobs arm thumbv7-pc-windows-msvc _ARM_
if ! tr '\n' '\0' <"$msvc_jobs" | nice xargs -0 -n 1 -P "$(nproc)" sh -c; then
    find "$out"/msvc-* -name '*.log' -size +0 -exec cat {} +
    echo "Device check: the MSVC-mode compile failed (the commands: $msvc_jobs)." >&2
    exit 1
fi
# The names the objects of $1 mark for export (/EXPORT: directives), one a line, sorted.
msvc_exports() {
    find "$1" -name '*.obj' -exec llvm-readobj --coff-directives {} + |
        sed -n 's/^Directive(s): *//p' | tr ' ' '\n' |
        sed -n 's/^\/EXPORT:"\{0,1\}\([^",]*\)"\{0,1\}\(,DATA\)\{0,1\}$/\1/p' |
        if [ "$2" = i686 ]; then sed 's/^_\([^?@]*\)$/\1/'; else cat; fi | LC_ALL=C sort -u
}
msvc_names=""
msvc_failed=""
for arch in i686 arm; do
    for dll in ZorNavCtrl imgblend; do
        actual="$out/msvc-$arch/$dll.exports.txt"
        list="tools/device/$dll-msvc-$arch-exports.txt"
        msvc_exports "$out/msvc-$arch/$dll" $arch >"$actual"
        if ! diff -u --label "$list" --label "$actual" "$top/$list" "$actual" >"$actual.diff"; then
            cat "$actual.diff"
            grep '^[-+][^-+]' "$actual.diff" | while read -r line; do
                echo "$line  $(echo "${line#?}" | llvm-undname | sed -n 2p)"
            done
            echo "Device check: an MSVC-built $dll.dll for $arch would not export the names in" \
                "$list (- listed, + now): applications built against the list no longer link." \
                "If the change is meant, copy $actual over it." >&2
            msvc_failed=1
        fi
    done
    msvc_names="$msvc_names, $arch $(wc -l <"$out/msvc-$arch/ZorNavCtrl.exports.txt") and $(wc -l <"$out/msvc-$arch/imgblend.exports.txt")"
done
[ -z "$msvc_failed" ] || exit 1
echo "Device check, MSVC front end (clang as Visual Studio 2005) for i686 and ARM:\
 $(find "$out/msvc-arm" -name '*.obj' | wc -l) sources and $(ls "$out/msvc-arm/headers" | wc -l) public headers\
 alone compiled for each, warnings as errors; the names the DLLs export as checked in\
 (ZorNavCtrl.dll and imgblend.dll:${msvc_names#,}); $(($(date +%s) - msvc_start)) s."
