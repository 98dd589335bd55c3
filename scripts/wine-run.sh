#!/usr/bin/env bash
# CTest's cross-compiling emulator: runs one Windows executable under Wine with the
# project's private prefix; brings its own Xvfb when there is no display.
set -u
. "$(dirname "$0")/wine-env.sh"
parlevo_wine_prefix
if [ -n "${DISPLAY:-}" ]; then
    # The program becomes this process, so callers can signal it and find its windows by pid.
    exec "$PARLEVO_WINE" "$@"
fi
parlevo_display
"$PARLEVO_WINE" "$@"
rc=$?
parlevo_display_stop
exit $rc
