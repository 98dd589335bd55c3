#!/usr/bin/env bash
# CTest's cross-compiling emulator: runs one Windows executable under Wine with the
# project's private prefix; brings its own Xvfb when there is no display.
set -u
. "$(dirname "$0")/wine-env.sh"
parlevo_wine_prefix
started=""
if [ -z "${DISPLAY:-}" ]; then parlevo_display; started=1; fi
"$PARLEVO_WINE" "$@"
rc=$?
if [ -n "$started" ]; then parlevo_display_stop; fi
exit $rc
