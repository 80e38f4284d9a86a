#!/bin/sh
# Runs a Windows program under Wine with a private prefix inside the build tree. By default the
# prefix uses Wine's null graphics driver, so windows, messages and painting work without an X
# server. With ZNC_WINE_DISPLAY=1 and DISPLAY set, a second prefix with the normal driver is
# used and windows appear on that display.
set -e
here=$(cd "$(dirname "$0")" && pwd)
if [ "${ZNC_WINE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    : "${WINEPREFIX:=$here/wineprefix-display}"
    headless=0
else
    : "${WINEPREFIX:=$here/wineprefix}"
    headless=1
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

if [ ! -f "$WINEPREFIX/.znc-ready" ]; then
    mkdir -p "$WINEPREFIX"
    # Parallel test runs must not create the prefix twice.
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.znc-ready" ]; then
            "$wine" wineboot --init >/dev/null 2>&1 || true
            if [ "$headless" = 1 ]; then
                "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
            fi
            # Let the first boot finish completely before anything runs in the prefix.
            "$(dirname "$wine")/wineserver" -w 2>/dev/null || wineserver -w 2>/dev/null || true
            touch "$WINEPREFIX/.znc-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
