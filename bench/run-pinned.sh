#!/bin/sh
# Runs benchmark programs under Wine on one processor, Wine's server included.
#
# Every window call waits on the server; when the program and the server may land on different
# processors, whether a round trip crosses processors changes from run to run and so do the
# ratios of window repaints (by a third on this machine). On one processor a round trip is
# always a switch on the same processor, as on the single-core device. A server still running
# in the build tree's prefix (from tests, say) is waited for, so that the one started here
# inherits the pinning.
#
# Usage: run-pinned.sh WINE-RUN PROGRAM...
set -e
wine_run=$1
shift
prefix=${WINEPREFIX:-$(cd "$(dirname "$wine_run")" && pwd)/wineprefix}
server=/usr/lib/wine/wineserver
[ -x "$server" ] || server=$(command -v wineserver || true)
pin=
if command -v taskset >/dev/null 2>&1 && command -v nproc >/dev/null 2>&1; then
    pin="taskset -c $(($(nproc) - 1))"
    # Where allowed (root), the program and its server also go before other work on that
    # processor: a paint that waits on the server several times (an image list drawn, say)
    # otherwise waits behind a compiler now and then, and its ratio wanders by a factor.
    if nice -n -10 true 2>/dev/null; then
        pin="nice -n -10 $pin"
    fi
    [ -z "$server" ] || WINEPREFIX=$prefix "$server" -w 2>/dev/null || true
else
    echo "taskset not found: running unpinned; window repaint ratios will vary more" >&2
fi
for program in "$@"; do
    $pin "$wine_run" "$program"
done
