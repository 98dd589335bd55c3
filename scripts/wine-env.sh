# Sourced by the other scripts: picks the Wine loader and the Windows build that this
# machine can run, and a private, quiet Wine prefix under build/.
#
# The shipped program is 32-bit. Some sandboxes (gVisor, for one) refuse 32-bit Linux
# executables, and with them Wine's 32-bit loader; there the tests and `make run` use the
# 64-bit build of the same code under wine64.
PARLEVO_ROOT=${PARLEVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${PARLEVO_WIN_PRESET:-}" ]; then
    if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        PARLEVO_WIN_PRESET=win32
    else
        PARLEVO_WIN_PRESET=win64
    fi
fi
if [ "$PARLEVO_WIN_PRESET" = win32 ]; then
    PARLEVO_WINE=/usr/lib/wine/wine
    export WINEARCH=win32
else
    PARLEVO_WINE=/usr/lib/wine/wine64
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
fi
export PARLEVO_WIN_PRESET PARLEVO_WINE PARLEVO_ROOT
export WINEPREFIX=${PARLEVO_WINEPREFIX:-$PARLEVO_ROOT/build/wineprefix-$PARLEVO_WIN_PRESET}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
PARLEVO_WINESERVER=/usr/lib/wine/wineserver

# Creates the prefix once (about 10-15 s). Without a window manager under Xvfb, Wine waits
# about 2 s for one whenever a top-level window is hidden or destroyed; Managed=N stops that.
parlevo_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.parlevo-ready" ]; then
            "$PARLEVO_WINE" wineboot -i >/dev/null 2>&1 || true
            "$PARLEVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            "$PARLEVO_WINESERVER" -w
            # The first program run in a new prefix can stall while Wine finishes setting it up;
            # let that happen here, once, rather than in a test.
            timeout 120 "$PARLEVO_WINE" cmd /c exit >/dev/null 2>&1 || "$PARLEVO_WINESERVER" -k
            "$PARLEVO_WINESERVER" -w
            touch "$WINEPREFIX/.parlevo-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts an Xvfb when there is no display; sets DISPLAY and PARLEVO_XVFB_PID.
parlevo_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n
    for n in $(seq 90 130); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
            PARLEVO_XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X$n" ] && return 0
                sleep 0.1
            done
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
}

parlevo_display_stop() {
    if [ -n "${PARLEVO_XVFB_PID:-}" ]; then kill "$PARLEVO_XVFB_PID" 2>/dev/null || true; fi
}
