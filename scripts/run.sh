#!/usr/bin/env bash
# Starts Parlevo under Wine with the sample host module and the sample language file.
# Without a display it runs under Xvfb, saves build/screenshot.png and ends the program.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$PARLEVO_ROOT"
dir="build/$PARLEVO_WIN_PRESET"
for d in build/win32 "$dir"; do
    if [ -d "$d" ] && [ ! -f "$d/Parlvo.ini" ]; then
        printf '[Module]\r\nFilename=Lumivex.dll\r\n' > "$d/Parlvo.ini"
    fi
done
headless=""
if [ -z "${DISPLAY:-}" ]; then
    parlevo_display
    headless=1
fi
parlevo_wine_prefix
lng=$("$PARLEVO_WINE" winepath -w "$PARLEVO_ROOT/samples/de.lng" 2>/dev/null)
if [ -z "$headless" ]; then
    exec "$PARLEVO_WINE" "$dir/Parlevo.exe" "$lng"
fi
"$PARLEVO_WINESERVER" -p 2>/dev/null || true
"$PARLEVO_WINE" "$dir/Parlevo.exe" "$lng" &
pid=$!
win=""
for _ in $(seq 1 100); do
    win=$(xdotool search --onlyvisible --name 'Parlevo' 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
if [ -z "$win" ]; then
    echo "run: the Parlevo window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    "$PARLEVO_WINESERVER" -k || true
    parlevo_display_stop
    exit 1
fi
sleep 1
import -window root build/screenshot.png
echo "run: window \"$(xdotool getwindowname "$win")\"; screenshot in build/screenshot.png"
xdotool windowfocus --sync "$win" key alt+F4 2>/dev/null || true
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
"$PARLEVO_WINESERVER" -k 2>/dev/null || true
parlevo_display_stop
