#!/bin/sh
# Every C++ and CMake snippet of README.md and docs/*.md is compiled by the test command, so the
# documentation cannot drift from the code:
# - a snippet right under "<!-- extracted: PATH -->" is written to OUT/PATH (the README's first
#   screen: tools/test.sh builds and starts it against the installed package);
# - a snippet right under "<!-- mirrored: FILE -->" must appear in FILE (a file of the tree that
#   the test command builds), line for line in the same order, each line compared without its
#   leading and trailing blanks; lines of FILE between them are allowed.
# A C++ or CMake snippet with neither fails, as does a mirrored line FILE lacks.
#   tools/doc-snippets.sh [OUT]      OUT defaults to build/doc-snippets
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$top/build/doc-snippets}"
rm -rf "$out"
mkdir -p "$out"
status=0
for md in "$top/README.md" "$top"/docs/*.md; do
    awk -v md="${md#$top/}" -v out="$out" -v top="$top" '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    function fail(msg) { printf "%s:%d: %s\n", md, start, msg; bad = 1 }
    function check(   file, n, line, i, j, want) {
        file = top "/" target
        n = 0
        while ((getline line < file) > 0)
            have[++n] = trim(line)
        close(file)
        if (n == 0) { fail("mirrored in " target ", which cannot be read"); return }
        j = 1
        for (i = 1; i <= count; ++i) {
            want = trim(block[i])
            if (want == "")
                continue
            while (j <= n && have[j] != want)
                ++j
            if (j > n) { fail("not in " target " (in this order): " want); return }
            ++j
        }
    }
    function extract(   path, dir, i) {
        path = out "/" target
        dir = path
        sub(/\/[^\/]*$/, "", dir)
        system("mkdir -p \"" dir "\"")
        printf "" > path
        for (i = 1; i <= count; ++i)
            print block[i] > path
        close(path)
    }
    inblock && $0 ~ /^[ \t]*```[ \t]*$/ {
        inblock = 0
        if (kind == "extracted") extract()
        else if (kind == "mirrored") check()
        else fail("a " lang " snippet says neither where it is extracted to nor what mirrors it")
        next
    }
    inblock { line = $0; if (substr(line, 1, indent) ~ /^[ \t]*$/) line = substr(line, indent + 1)
              block[++count] = line; next }
    /^[ \t]*```(cpp|cmake)[ \t]*$/ {
        inblock = 1; count = 0; start = NR
        lang = $0; sub(/^[ \t]*```/, "", lang); lang = trim(lang)
        indent = match($0, /[^ \t]/) - 1
        kind = ""; target = ""
        if (prev ~ /<!-- (extracted|mirrored): [^ ]+ -->/) {
            kind = prev; sub(/^.*<!-- /, "", kind); sub(/:.*$/, "", kind)
            target = prev; sub(/^.*<!-- (extracted|mirrored): /, "", target); sub(/ -->.*$/, "", target)
        }
        next
    }
    { prev = $0 }
    END { exit bad }
    ' "$md" || status=1
done
if [ "$status" != 0 ]; then
    echo "Documentation: a snippet above is neither compiled nor mirrored by compiled code." >&2
    exit 1
fi
echo "Documentation: every C++ and CMake snippet is compiled or mirrored by compiled code."
