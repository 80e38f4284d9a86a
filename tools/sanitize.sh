#!/bin/sh
# Builds the image library's PNG path (imgblend/PngDecode.cpp, its allocation point and the
# decoder) natively with clang three times, under the address and undefined-behaviour
# sanitizers, under the memory sanitizer, and as a libFuzzer target; runs the hostile PNGs of
# tests/data/hostile, the test PNGs and the library's artwork through the first two; then
# fuzzes from the artwork for ZNC_FUZZ_SECONDS (60 by default). Any finding fails the command.
# Writes only below build/sanitize. Run by tools/test.sh.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build/sanitize"
seconds=${ZNC_FUZZ_SECONDS:-60}
mkdir -p "$out"
start=$(date +%s)

library="$top/imgblend/PngDecode.cpp $top/imgblend/ImgBlendAlloc.cpp"
flags="-g -O1 -fno-omit-frame-pointer -DIMGBLEND_HEAP_STATS -I$top/imgblend -I$top/common -I/usr/include/stb"

# build NAME SANITIZER-FLAGS MAIN: the library as C++03 and C89, the check as C++17.
build() {
    dir="$out/$1"
    mkdir -p "$dir"
    objects=""
    for source in $library; do
        object="$dir/$(basename "$source").o"
        clang++ -std=c++03 $flags $2 -c "$source" -o "$object"
        objects="$objects $object"
    done
    clang -std=c89 $flags $2 -c "$top/imgblend/stb_image_impl.c" -o "$dir/stb_image_impl.o"
    clang++ -std=c++17 $flags $2 "$top/tests/sanitize/$3" $objects "$dir/stb_image_impl.o" \
        -o "$dir/$1"
}

strict="-fno-sanitize-recover=all"
build asan-ubsan "-fsanitize=address,undefined $strict" DecodeCheck.cpp
build msan "-fsanitize=memory -fsanitize-memory-track-origins $strict" DecodeCheck.cpp
build fuzz "-fsanitize=fuzzer,address,undefined $strict" FuzzPng.cpp

pngs="$top/tests/data/hostile/*.png $top/tests/data/*.png"
for run in asan-ubsan msan; do
    echo "== $run: the hostile PNGs and the test PNGs"
    # shellcheck disable=SC2086
    ASAN_OPTIONS=detect_leaks=1 "$out/$run/$run" $pngs
    echo "== $run: the artwork, pixel for pixel as the decoder gives it"
    "$out/$run/$run" --artwork "$top"/res/*.png
done

echo "== fuzzing for $seconds s from the artwork"
rm -rf "$out/fuzz/corpus" && mkdir -p "$out/fuzz/corpus" "$out/fuzz/findings"
cp "$top"/res/*.png "$out/fuzz/corpus/"
# Every request above the cap fails at the allocation point before reaching malloc: a larger
# malloc is a finding.
"$out/fuzz/fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -malloc_limit_mb=4 \
    -print_final_stats=1 -artifact_prefix="$out/fuzz/findings/" "$out/fuzz/corpus" \
    >"$out/fuzz/fuzz.log" 2>&1 || { tail -40 "$out/fuzz/fuzz.log"; exit 1; }
grep -E "^stat::(number_of_executed_units|peak_rss_mb)|DONE" "$out/fuzz/fuzz.log" || true
echo "The PNG path passed the sanitizers and $seconds s of fuzzing in $(( $(date +%s) - start )) s."
